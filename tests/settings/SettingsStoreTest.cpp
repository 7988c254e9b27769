#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

#include <cstring>

#include "SettingsKey.h"

using namespace settings_test;

namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteKey(); }
    void TearDown() override { DeleteKey(); }
};

DWORD StoredDword(const wchar_t* name) {
    RawValue value = GetRaw(name);
    EXPECT_TRUE(value.found) << "missing value";
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_DWORD));
    DWORD result = 0;
    if (value.bytes.size() == sizeof result) {
        std::memcpy(&result, value.bytes.data(), sizeof result);
    }
    return result;
}

std::wstring StoredString(const wchar_t* name) {
    RawValue value = GetRaw(name);
    EXPECT_TRUE(value.found) << "missing value";
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value.bytes.size() % sizeof(wchar_t), 0u);
    EXPECT_GE(value.bytes.size(), sizeof(wchar_t));
    std::wstring text(value.bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), value.bytes.data(), text.size() * sizeof(wchar_t));
    EXPECT_EQ(text.back(), L'\0') << "value must end with its terminating null";
    text.pop_back();
    return text;
}

std::wstring MainPath(const SettingsStore& store) {
    std::wstring path = L"untouched";
    store.GetSrcImgPath(path);
    return path;
}

std::wstring NightPath(const SettingsStore& store) {
    std::wstring path = L"untouched";
    store.GetSrc2ImgPath(path);
    return path;
}

} // namespace

TEST_F(SettingsStoreTest, LoadWithoutKeyKeepsDefaultsAndSaveCreatesEveryValue) {
    SettingsStore store;
    store.Load();
    EXPECT_FALSE(KeyExists());
    EXPECT_EQ(store.GetUpdateFreqMins(), 15);
    EXPECT_EQ(store.GetMode(), 1);

    store.Save();
    ASSERT_TRUE(KeyExists());
    EXPECT_EQ(StoredDword(L"NoonUCTPixel"), 0u);
    EXPECT_EQ(StoredDword(L"UpdateFreqMins"), 15u);
    EXPECT_EQ(StoredDword(L"Mode"), 1u);
    EXPECT_EQ(StoredDword(L"Disabled"), 0u);
    EXPECT_EQ(StoredDword(L"NoBootUpdate"), 0u);
    EXPECT_EQ(StoredDword(L"Terminator"), 0u);
    EXPECT_EQ(StoredString(L"SrcImgPath"), L"");
    EXPECT_EQ(StoredString(L"Src2ImgPath"), L"");
    // An empty path is stored as its terminating null alone.
    EXPECT_EQ(GetRaw(L"SrcImgPath").bytes.size(), sizeof(wchar_t));
}

TEST_F(SettingsStoreTest, KeyWithOnlyModeChangesOnlyTheStyle) {
    PutDword(L"Mode", 3);
    SettingsStore store;
    store.SetSrcImgPath(L"C:\\day.jpg");
    store.SetNoonPixel(77);
    store.Load();
    EXPECT_EQ(store.GetMode(), 3);
    EXPECT_EQ(store.GetNoonPixel(), 77);
    EXPECT_EQ(store.GetUpdateFreqMins(), 15);
    EXPECT_EQ(MainPath(store), L"C:\\day.jpg");
    EXPECT_EQ(NightPath(store), L"");
}

TEST_F(SettingsStoreTest, FlagsAreNormalisedOnLoadOtherNumbersAreNot) {
    PutDword(L"Disabled", 5);
    PutDword(L"NoBootUpdate", 0x80000000u);
    PutDword(L"Terminator", 0);
    PutDword(L"Mode", 7);
    PutDword(L"NoonUCTPixel", static_cast<DWORD>(-10));
    PutDword(L"UpdateFreqMins", 0xFFFFFFFFu);
    SettingsStore store;
    store.SetTerminator(1);
    store.Load();
    EXPECT_EQ(store.GetDisabled(), 1);
    EXPECT_EQ(store.GetNoBootUpdate(), 1);
    EXPECT_EQ(store.GetTerminator(), 0);
    EXPECT_EQ(store.GetMode(), 7);
    EXPECT_EQ(store.GetNoonPixel(), -10);
    EXPECT_EQ(store.GetUpdateFreqMins(), -1);
}

TEST_F(SettingsStoreTest, FlagSetterKeepsValueUntilRoundTrip) {
    SettingsStore store;
    store.SetDisabled(2);
    EXPECT_EQ(store.GetDisabled(), 2);
    store.Save();
    EXPECT_EQ(StoredDword(L"Disabled"), 2u);
    store.Load();
    EXPECT_EQ(store.GetDisabled(), 1);
}

TEST_F(SettingsStoreTest, AllSettingsRoundTripThroughTheRegistry) {
    SettingsStore written;
    written.SetSrcImgPath(L"C:\\maps\\day.png");
    written.SetSrc2ImgPath(L"D:\\night \u00e9t\u00e9.jpg");
    written.SetNoonPixel(-5);
    written.SetUpdateFreqMins(71582);
    written.SetDisabled(1);
    written.SetNoBootUpdate(1);
    written.SetTerminator(1);
    written.SetMode(4);
    written.Save();

    SettingsStore read;
    read.Load();
    EXPECT_EQ(MainPath(read), L"C:\\maps\\day.png");
    EXPECT_EQ(NightPath(read), L"D:\\night \u00e9t\u00e9.jpg");
    EXPECT_EQ(read.GetNoonPixel(), -5);
    EXPECT_EQ(read.GetUpdateFreqMins(), 71582);
    EXPECT_EQ(read.GetDisabled(), 1);
    EXPECT_EQ(read.GetNoBootUpdate(), 1);
    EXPECT_EQ(read.GetTerminator(), 1);
    EXPECT_EQ(read.GetMode(), 4);
}

TEST_F(SettingsStoreTest, PathLengthLimitIsPerValue) {
    const std::wstring longest(259, L'a');
    SettingsStore store;
    store.SetSrcImgPath(L"short");
    store.SetSrc2ImgPath(longest);
    store.Save();

    SettingsStore read;
    read.Load();
    EXPECT_EQ(MainPath(read), L"short");
    EXPECT_EQ(NightPath(read), longest);

    // 261 characters with the null: more than the 520 bytes a path may take.
    PutString(L"SrcImgPath", std::wstring(260, L'b'));
    read.Load();
    EXPECT_EQ(MainPath(read), L"short");
    EXPECT_EQ(NightPath(read), longest);
}

TEST_F(SettingsStoreTest, ProgressAndCancelAreNotStored) {
    SettingsStore store;
    store.SetProgress(42);
    store.SetCancel(1);
    store.Save();
    EXPECT_FALSE(GetRaw(L"Progress").found);
    PutDword(L"Mode", 2);
    store.Load();
    EXPECT_EQ(store.GetProgress(), 42);
    EXPECT_EQ(store.GetCancel(), 1);
    EXPECT_EQ(store.GetMode(), 2);
}

// Values written by other programs are not trusted to be well formed.
TEST_F(SettingsStoreTest, UnterminatedOrOddSizedPathsStayInsideTheirData) {
    const std::wstring unterminated(259, L'x');
    PutRaw(L"SrcImgPath", REG_SZ, unterminated.data(), 518);
    const wchar_t odd[] = {L'a', L'b', L'c'};
    PutRaw(L"Src2ImgPath", REG_SZ, odd, 5); // two and a half characters
    SettingsStore store;
    store.Load();
    EXPECT_EQ(MainPath(store), unterminated);
    EXPECT_EQ(NightPath(store), L"ab");

    const wchar_t embedded[] = {L'c', L':', L'\0', L'z', L'z'};
    PutRaw(L"SrcImgPath", REG_SZ, embedded, sizeof embedded);
    store.Load();
    EXPECT_EQ(MainPath(store), L"c:");

    // A full 520 bytes without a null leaves no room to terminate: the system may refuse the
    // read, but what is taken must never run past the data.
    const std::wstring full(260, L'y');
    PutRaw(L"SrcImgPath", REG_SZ, full.data(), 520);
    store.Load();
    const std::wstring path = MainPath(store);
    EXPECT_TRUE(path == full || path == L"c:") << "got " << path.size() << " characters";
}

TEST_F(SettingsStoreTest, NumbersOfTheWrongSizeOrTypeKeepTheField) {
    const WORD shortValue = 9;
    PutRaw(L"NoonUCTPixel", REG_BINARY, &shortValue, sizeof shortValue);
    PutString(L"UpdateFreqMins", L"30");
    const BYTE one = 1;
    PutRaw(L"Disabled", REG_DWORD, &one, 1);
    PutDword(L"Src2ImgPath", 1234); // a path stored as a number
    SettingsStore store;
    store.SetNoonPixel(512);
    store.SetSrc2ImgPath(L"night.jpg");
    store.Load();
    EXPECT_EQ(store.GetNoonPixel(), 512);
    EXPECT_EQ(store.GetUpdateFreqMins(), 15);
    EXPECT_EQ(store.GetDisabled(), 0);
    EXPECT_EQ(NightPath(store), L"night.jpg");
}
