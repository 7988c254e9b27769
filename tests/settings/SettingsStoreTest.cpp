#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "win/Handles.h"

namespace {

constexpr wchar_t kKeyPath[] = L"Software\\Pembrix\\Pembrix Gloamery";

// A value's type and bytes as the registry holds them; REG_NONE when it is missing.
using Value = std::pair<DWORD, std::vector<BYTE>>;

Value Stored(const wchar_t* name) {
    Value value{REG_NONE, std::vector<BYTE>(4096)};
    DWORD size = static_cast<DWORD>(value.second.size());
    UniqueHkey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, key.put()) != ERROR_SUCCESS ||
        RegQueryValueExW(key.get(), name, nullptr, &value.first, value.second.data(), &size) !=
            ERROR_SUCCESS) {
        return {REG_NONE, {}};
    }
    value.second.resize(size);
    return value;
}

Value Dword(DWORD number) {
    const auto* bytes = reinterpret_cast<const BYTE*>(&number);
    return {REG_DWORD, {bytes, bytes + sizeof number}};
}

// Text with its terminating null, or only its first `bytes` bytes.
Value Sz(const std::wstring& text, std::size_t bytes = std::wstring::npos) {
    const auto* data = reinterpret_cast<const BYTE*>(text.c_str());
    return {REG_SZ, {data, data + std::min(bytes, (text.size() + 1) * sizeof(wchar_t))}};
}

// Plants a value behind the store's back.
void Put(const wchar_t* name, const Value& value) {
    UniqueHkey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0, KEY_WRITE, nullptr,
                              key.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key.get(), name, 0, value.first, value.second.data(),
                             static_cast<DWORD>(value.second.size())),
              ERROR_SUCCESS);
}

std::wstring MainPath(const SettingsStore& store) {
    std::wstring path;
    store.GetSrcImgPath(path);
    return path;
}

std::wstring NightPath(const SettingsStore& store) {
    std::wstring path;
    store.GetSrc2ImgPath(path);
    return path;
}

class SettingsStoreTest : public testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kKeyPath); }
};

TEST_F(SettingsStoreTest, LoadWithoutKeyKeepsDefaultsAndSaveCreatesEveryValue) {
    SettingsStore store;
    store.Load();
    UniqueHkey key;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, key.put()), ERROR_SUCCESS);
    EXPECT_EQ(store.GetUpdateFreqMins(), 15);
    EXPECT_EQ(store.GetMode(), 1);

    store.Save();
    // An empty path is stored as its terminating null alone.
    const std::pair<const wchar_t*, Value> expected[] = {
        {L"NoonUCTPixel", Dword(0)}, {L"UpdateFreqMins", Dword(15)}, {L"Mode", Dword(1)},
        {L"Disabled", Dword(0)},     {L"NoBootUpdate", Dword(0)},    {L"Terminator", Dword(0)},
        {L"SrcImgPath", Sz(L"")},    {L"Src2ImgPath", Sz(L"")}};
    for (const auto& [name, value] : expected) {
        EXPECT_EQ(Stored(name), value) << name;
    }
    EXPECT_EQ(Stored(L"Progress").first, DWORD{REG_NONE});
}

// The worker's progress and the request to stop are no settings: Load leaves them too.
TEST_F(SettingsStoreTest, KeyWithOnlyModeChangesOnlyTheStyle) {
    Put(L"Mode", Dword(3));
    SettingsStore store;
    store.SetSrcImgPath(L"C:\\day.jpg");
    store.SetNoonPixel(77);
    store.SetProgress(42);
    store.SetCancel(1);
    store.Load();
    EXPECT_EQ(store.GetMode(), 3);
    EXPECT_EQ(store.GetProgress(), 42);
    EXPECT_EQ(store.GetCancel(), 1);
    EXPECT_EQ(store.GetNoonPixel(), 77);
    EXPECT_EQ(store.GetUpdateFreqMins(), 15);
    EXPECT_EQ(MainPath(store), L"C:\\day.jpg");
    EXPECT_EQ(NightPath(store), L"");
}

TEST_F(SettingsStoreTest, FlagsAreNormalisedOnLoadOtherNumbersAreNot) {
    Put(L"Disabled", Dword(5));
    Put(L"NoBootUpdate", Dword(0x80000000u));
    Put(L"Terminator", Dword(0));
    Put(L"Mode", Dword(7));
    Put(L"NoonUCTPixel", Dword(static_cast<DWORD>(-10)));
    Put(L"UpdateFreqMins", Dword(0xFFFFFFFFu));
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

// A flag setter keeps what it is given; only the round trip makes it 1. A path may take all
// 259 characters.
TEST_F(SettingsStoreTest, EverySettingRoundTripsThroughTheRegistry) {
    const std::wstring longest(259, L'a');
    SettingsStore written;
    written.SetSrcImgPath(L"D:\\night \u00e9t\u00e9.jpg");
    written.SetSrc2ImgPath(longest);
    written.SetNoonPixel(-5);
    written.SetUpdateFreqMins(71582);
    written.SetDisabled(2);
    written.SetTerminator(1);
    written.SetMode(4);
    EXPECT_EQ(written.GetDisabled(), 2);
    written.Save();
    EXPECT_EQ(Stored(L"Disabled"), Dword(2));

    SettingsStore read;
    read.Load();
    EXPECT_EQ(MainPath(read), L"D:\\night \u00e9t\u00e9.jpg");
    EXPECT_EQ(NightPath(read), longest);
    EXPECT_EQ(read.GetNoonPixel(), -5);
    EXPECT_EQ(read.GetUpdateFreqMins(), 71582);
    EXPECT_EQ(read.GetDisabled(), 1);
    EXPECT_EQ(read.GetNoBootUpdate(), 0);
    EXPECT_EQ(read.GetTerminator(), 1);
    EXPECT_EQ(read.GetMode(), 4);
}

// Values written by other programs are not trusted to be well formed: a path longer than 259
// characters, numbers of the wrong size or type, and a path stored as a number are not read.
TEST_F(SettingsStoreTest, ValuesOfTheWrongSizeOrTypeKeepTheField) {
    Put(L"SrcImgPath", Sz(std::wstring(260, L'b')));
    Put(L"NoonUCTPixel", {REG_BINARY, {9, 0}});
    Put(L"UpdateFreqMins", Sz(L"30"));
    Put(L"Disabled", {REG_DWORD, {1}});
    Put(L"Src2ImgPath", Dword(1234));
    SettingsStore store;
    store.SetSrcImgPath(L"short");
    store.SetSrc2ImgPath(L"night.jpg");
    store.SetNoonPixel(512);
    store.Load();
    EXPECT_EQ(MainPath(store), L"short");
    EXPECT_EQ(NightPath(store), L"night.jpg");
    EXPECT_EQ(store.GetNoonPixel(), 512);
    EXPECT_EQ(store.GetUpdateFreqMins(), 15);
    EXPECT_EQ(store.GetDisabled(), 0);
}

// Only whole characters inside the data count, up to the first null.
TEST_F(SettingsStoreTest, UnterminatedOrOddSizedPathsStayInsideTheirData) {
    const std::wstring unterminated(259, L'x');
    Put(L"SrcImgPath", Sz(unterminated, 518));
    Put(L"Src2ImgPath", Sz(L"abc", 5)); // two and a half characters
    SettingsStore store;
    store.Load();
    EXPECT_EQ(MainPath(store), unterminated);
    EXPECT_EQ(NightPath(store), L"ab");

    Put(L"SrcImgPath", Sz(std::wstring(L"c:\0zz", 5)));
    store.Load();
    EXPECT_EQ(MainPath(store), L"c:");

    // A full 520 bytes without a null leaves no room to terminate: the system may refuse the
    // read, but what is taken must never run past the data.
    Put(L"SrcImgPath", Sz(std::wstring(260, L'y'), 520));
    store.Load();
    const std::wstring path = MainPath(store);
    EXPECT_TRUE(path == std::wstring(260, L'y') || path == L"c:") << path.size() << " characters";
}

// The dialog thread reloads and saves while the worker reads and writes: every value read must
// be one that was written whole, never a mix.
TEST_F(SettingsStoreTest, ReadersNeverSeeTornValues) {
    const std::wstring pathA(200, L'A');
    const std::wstring pathB(250, L'B');
    SettingsStore store;
    store.SetSrcImgPath(pathA);
    store.Save();
    std::atomic<bool> stop{false};
    int reads = 0;
    int badReads = 0;
    std::thread writer([&] {
        for (int i = 0; !stop; ++i) {
            store.SetSrcImgPath(i % 2 ? pathA : pathB);
            store.SetProgress(i % 101);
        }
    });
    std::thread reader([&] {
        while (!stop) {
            const std::wstring path = MainPath(store);
            const int progress = store.GetProgress();
            badReads += (path != pathA && path != pathB) || progress < 0 || progress > 100;
            ++reads;
        }
    });
    for (int round = 0; round < 200; ++round) {
        store.Save();
        store.Load();
    }
    stop = true;
    writer.join();
    reader.join();
    EXPECT_GT(reads, 0);
    EXPECT_EQ(badReads, 0);
    const std::wstring finalPath = MainPath(store);
    EXPECT_TRUE(finalPath == pathA || finalPath == pathB);
}

} // namespace
