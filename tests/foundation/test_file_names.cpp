// Names written with another letter case than the files on disk, as the
// templates write the barcode folder.
#include <gtest/gtest.h>

#include <string>

#include "FileUtils.h"
#include "TestSupport.h"

TEST(FileNames, FoundWhateverTheCaseOfTheirFolders) {
  TTempDir dir;
  TScopedCwd cwd(dir.Path());
  WriteFileBytes("Data/Barcodes/Code Barre 123.jpg", "x");
  WriteFileBytes("Data/Bitmaps/Logo.bmp", "x");
  struct Row {
    const char* name;
    const char* found;
  };
  const Row rows[] = {
      {"./Data/Barcodes/Code Barre 123.jpg", "./Data/Barcodes/Code Barre 123.jpg"},
      {"./data/Barcodes/Code Barre 123.jpg", "./Data/Barcodes/Code Barre 123.jpg"},
      {"DATA/BARCODES/code barre 123.JPG", "Data/Barcodes/Code Barre 123.jpg"},
      {"./data//bitmaps/logo.bmp", "./Data/Bitmaps/Logo.bmp"},
      {"./data/Barcodes/Code Barre 124.jpg", ""},
      {"./data/Barcodes", ""},  // a folder is no file
      {"", ""},
  };
  for (const Row& row : rows) EXPECT_EQ(FindFileIgnoringCase(row.name), row.found) << row.name;
  const std::string absolute = dir.File("data/bitmaps/LOGO.BMP");
  EXPECT_EQ(FindFileIgnoringCase(absolute), dir.File("Data/Bitmaps/Logo.bmp"));
}
