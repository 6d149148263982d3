// The parameter file container and its two payloads, written and read through the platform's
// file calls in a scratch folder.
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/bmp_test_files.h"
#include "ui/files/effect_files.h"
#include "ui/files/parameter_file.h"

namespace {

namespace fs = std::filesystem;

class ParameterFile : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    std::strcpy(ParameterFileName(), PathOf("file.bin").c_str());
  }
  static Bytes Contents() { return Read(ParameterFileName()); }
  void Put(const Bytes& bytes) const { Write("file.bin", bytes); }
};

// A header in file layout: magic, three descriptors, length, two zero words.
Bytes Header(uint32_t magic, uint16_t first, uint16_t second, uint16_t third, uint32_t length) {
  Bytes b;
  Put32(&b, magic);
  for (uint16_t d : {first, second, third}) Put16(&b, d);
  Put32(&b, length);
  Put32(&b, 0);
  return b;
}

Bytes Words(std::initializer_list<int> values) {
  Bytes b;
  for (int v : values) Put16(&b, static_cast<uint16_t>(v));
  return b;
}

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The Magic Curve writer is checked byte for byte through the dialog's Save (Windows tests).
TEST_F(ParameterFile, UserFilterFileStoresSixteenBitValuesTruncated) {
  UserFilterValues values{};
  values.kernel[1] = -2;      // 0xFFFE
  values.kernel[12] = 1;
  values.kernel[24] = 70000;  // 0x11170 keeps 0x1170
  values.scale = 1;
  values.bias = -3;
  values.symmetry = kNoSymmetryChecked;
  ASSERT_TRUE(SaveUserFilter(values));
  const Bytes file = Contents();
  ASSERT_EQ(file.size(), 74u);
  const Bytes header = {'F', 'D', 'U', 'C', 5, 0, 5, 0, 16, 0, 56, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 18), header);
  EXPECT_EQ(Bytes(file.begin() + 20, file.begin() + 22), (Bytes{0xFE, 0xFF}));  // cell 1 at 18 + 2
  EXPECT_EQ(file[18 + 24], 1);  // the centre
  EXPECT_EQ(Bytes(file.begin() + 66, file.end()), (Bytes{0x70, 0x11, 1, 0, 0xFD, 0xFF, 4, 0}));

  LoadedUserFilter loaded{};
  ASSERT_TRUE(LoadUserFilter(&loaded));
  EXPECT_EQ(loaded.kernel[1], -2);
  EXPECT_EQ(loaded.kernel[24], 4464);
  EXPECT_EQ(loaded.bias, -3);
  EXPECT_EQ(loaded.symmetry, 4);
}

TEST_F(ParameterFile, ReaderRefusesWhatItCannotTrust) {
  const Bytes good = Header(kMagicCurveMagic, 256, 1, 8, 3) + Bytes{7, 8, 9};
  struct Case {
    const char* what;
    bool exists;
    Bytes file;
    uint32_t magic;
    bool accepted;
  };
  const Case cases[] = {
      {"missing file", false, {}, kMagicCurveMagic, false},
      {"17 header bytes", true, Bytes(good.begin(), good.begin() + 17), kMagicCurveMagic, false},
      {"the other magic", true, good, kUserFilterMagic, false},
      {"payload one short", true, Bytes(good.begin(), good.end() - 1), kMagicCurveMagic, false},
      {"length beyond any file", true, Header(kMagicCurveMagic, 256, 0, 8, 0xFFFFFFF0u), kMagicCurveMagic, false},
      {"exact", true, good, kMagicCurveMagic, true},
      {"bytes after the payload", true, good + Bytes{1, 2}, kMagicCurveMagic, true},
      {"empty payload", true, Header(kUserFilterMagic, 0, 0, 0, 0), kUserFilterMagic, true},
  };
  for (const Case& c : cases) {
    fs::remove(ParameterFileName());
    if (c.exists) Put(c.file);
    HGLOBAL block = ReadParameterFile(c.magic);
    EXPECT_EQ(block != nullptr, c.accepted) << c.what;
    if (!block) continue;
    const auto* bytes = static_cast<const uint8_t*>(GlobalLock(block));
    const ParameterFileHeader header = ParameterFileHeaderOf(bytes);
    EXPECT_EQ(GlobalSize(block), 18 + header.length) << c.what;
    EXPECT_EQ(Bytes(bytes, bytes + GlobalSize(block)), Bytes(c.file.begin(), c.file.begin() + 18 + header.length)) << c.what;
    GlobalUnlock(block);
    GlobalFree(block);
  }
}

TEST_F(ParameterFile, CurveLoadCopiesOnlyWhatHeaderAndPayloadHold) {
  struct Case {
    const char* what;
    Bytes file;
    bool loaded;
    int mapping;     // as read, not checked
    int changedUpTo;  // entries below this come from the file (filled with 200)
  };
  const Case cases[] = {
      {"whole curve", Header(kMagicCurveMagic, 256, 3, 8, 256) + Bytes(256, 200), true, 3, 256},
      {"four entries named", Header(kMagicCurveMagic, 4, 1, 8, 256) + Bytes(256, 200), true, 1, 4},
      {"more named than held", Header(kMagicCurveMagic, 256, 0, 8, 10) + Bytes(10, 200), true, 0, 10},
      {"more than 256 named", Header(kMagicCurveMagic, 300, 0, 8, 300) + Bytes(300, 200), true, 0, 256},
      {"mapping out of range", Header(kMagicCurveMagic, 256, 9, 8, 256) + Bytes(256, 200), true, 9, 256},
      {"a filter file", Header(kUserFilterMagic, 5, 5, 16, 56) + Bytes(56, 200), false, -1, 0},
  };
  for (const Case& c : cases) {
    Put(c.file);
    uint8_t curve[256];
    for (int i = 0; i < 256; ++i) curve[i] = uint8_t(i);
    int mapping = -1;
    EXPECT_EQ(LoadMagicCurve(curve, &mapping), c.loaded) << c.what;
    EXPECT_EQ(mapping, c.mapping) << c.what;
    for (int i = 0; i < 256; ++i) {
      if (curve[i] != (i < c.changedUpTo ? 200 : i)) {
        ADD_FAILURE() << c.what << ": entry " << i << " is " << int(curve[i]);
        break;
      }
    }
  }
}

TEST_F(ParameterFile, FilterLoadTakesItsGridFromTheHeaderAndRefusesOversizedOnes) {
  struct Case {
    const char* what;
    Bytes file;
    bool loaded;
    std::vector<int> cells;  // the cells set, each to 10 + its order in the file
  };
  const Case cases[] = {
      {"2 x 3 grid", Header(kUserFilterMagic, 3, 2, 16, 18) + Words({10, 11, 12, 13, 14, 15, 4, -1, 2}), true,
       {0, 1, 2, 5, 6, 7}},
      {"no cells", Header(kUserFilterMagic, 0, 0, 16, 6) + Words({4, -1, 2}), true, {}},
      {"6 columns", Header(kUserFilterMagic, 6, 1, 16, 18) + Words({10, 11, 12, 13, 14, 15, 4, -1, 2}), false, {}},
      {"6 rows", Header(kUserFilterMagic, 1, 6, 16, 18) + Words({10, 11, 12, 13, 14, 15, 4, -1, 2}), false, {}},
      {"one value short", Header(kUserFilterMagic, 3, 2, 16, 17) + Bytes(17, 0), false, {}},
  };
  for (const Case& c : cases) {
    Put(c.file);
    LoadedUserFilter loaded{};
    loaded.scale = 99;
    ASSERT_EQ(LoadUserFilter(&loaded), c.loaded) << c.what;
    if (!c.loaded) {
      EXPECT_EQ(loaded.scale, 99) << c.what << ": refused files change nothing";
      continue;
    }
    int present = 0;
    for (bool p : loaded.present) present += p;
    EXPECT_EQ(present, int(c.cells.size())) << c.what;
    for (size_t k = 0; k < c.cells.size(); ++k) {
      EXPECT_TRUE(loaded.present[c.cells[k]]) << c.what << " cell " << c.cells[k];
      EXPECT_EQ(loaded.kernel[c.cells[k]], int(10 + k)) << c.what << " cell " << c.cells[k];
    }
    EXPECT_EQ(loaded.scale, 4) << c.what;
    EXPECT_EQ(loaded.bias, -1) << c.what;
    EXPECT_EQ(loaded.symmetry, 2) << c.what;
  }
}

}  // namespace
