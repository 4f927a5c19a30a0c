#include "Trace.h"

#include <cstdio>

namespace {

TTraceSink* gSink = nullptr;
TDialogService* gDialogs = nullptr;

}  // namespace

TTraceSink* SetTraceSink(TTraceSink* sink) {
  TTraceSink* previous = gSink;
  gSink = sink;
  return previous;
}

TTraceSink* GetTraceSink() { return gSink; }

TDialogService* SetDialogService(TDialogService* service) {
  TDialogService* previous = gDialogs;
  gDialogs = service;
  return previous;
}

TDialogService* GetDialogService() { return gDialogs; }

void ShowMessage(const std::string& text) {
  if (gDialogs != nullptr) {
    gDialogs->ShowMessage(text);
  } else {
    // Before the platform has installed its boxes (or in a tool without a
    // screen) the message must still reach someone.
    std::fprintf(stderr, "%s\n", text.c_str());
  }
}

std::string IntToStr(long long n) { return std::to_string(n); }

void Trace(const std::string& text) {
  if (gSink != nullptr) gSink->AddLine(text);
}

void TraceIntInt(const std::string& text, long long a, long long b) {
  Trace(text + IntToStr(a) + " " + IntToStr(b));
}

void Warning(const std::string& text) { Trace("Warning : " + text); }

void WarningInt(const std::string& text, long long n) { Warning(text + " " + IntToStr(n)); }

void Error(const std::string& text) {
  Trace("*******ERROR*******");
  Trace(text);
  Trace("*******************");
  ShowMessage("*ERROR*" + text);
  Trace("rien");
}

void ErrorInt(const std::string& text, long long n) { Error(text + IntToStr(n)); }

void ErrorIntText(const std::string& text, long long n, const std::string& tail) {
  Error(text + IntToStr(n) + tail);
}

void ErrorIntInt(const std::string& text, long long a, long long b) {
  Error(text + IntToStr(a) + " " + IntToStr(b));
}

void SaveTrace() {
  if (gSink != nullptr) gSink->SaveToFile(kTraceFileName);
}

void RefreshTrace() {
  if (gSink != nullptr) gSink->Refresh();
}
