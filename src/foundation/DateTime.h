#pragma once

#include <string>

// Dates and times as the system counts them: days (with the time of day as
// the fraction) since 30/12/1899.
using TDateTime = double;

TDateTime Now();
TDateTime Date();  // today at midnight
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second);
// The system's short date format, day/month/four-digit year: "08/12/2026".
std::string DateToStr(TDateTime value);
// The long time format of the French locale: "14:05:09".
std::string TimeToStr(TDateTime value);
// DateToStr + " " + TimeToStr.
std::string DateTimeToStr(TDateTime value);
// Reads "dd/mm/yyyy"; false when the text is no calendar date.
bool TryStrToDate(const std::string& text, TDateTime& value);
