#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "SettingsKey.h"

using namespace settings_test;

// The dialog thread reloads and saves while the worker reads and writes: every value read must
// be one that was written whole, never a mix.
TEST(SettingsConcurrencyTest, ReadersNeverSeeTornValues) {
    DeleteKey();
    const std::wstring pathA(200, L'A');
    const std::wstring pathB(250, L'B');
    SettingsStore store;
    store.SetSrcImgPath(pathA);
    store.Save();

    std::atomic<bool> stop{false};
    std::atomic<int> badReads{0};
    std::atomic<long> reads{0};

    std::thread writer([&] {
        for (int i = 0; !stop; ++i) {
            store.SetSrcImgPath(i % 2 ? pathA : pathB);
            store.SetProgress(i % 101);
        }
    });
    std::thread reader([&] {
        std::wstring path;
        while (!stop) {
            store.GetSrcImgPath(path);
            const int progress = store.GetProgress();
            if ((path != pathA && path != pathB) || progress < 0 || progress > 100) {
                ++badReads;
            }
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

    EXPECT_GT(reads.load(), 0);
    EXPECT_EQ(badReads.load(), 0);
    std::wstring finalPath;
    store.GetSrcImgPath(finalPath);
    EXPECT_TRUE(finalPath == pathA || finalPath == pathB);
    DeleteKey();
}
