#include "run/start_directory_lock.h"

#include <chrono>
#include <filesystem>
#include <future>
#include <thread>

#include <gtest/gtest.h>

#include "settings/text_table.h"
#include "support/scripted_user_interface.h"
#include "support/temp_dir.h"

namespace velmark {
namespace {

using namespace std::chrono_literals;
using testing::TempDir;

TEST(StartDirectoryLock, SecondTakerIsRefusedAtOnceOrGetsItWhenTheFirstLetsGoInTime) {
    TempDir dir;
    auto first = StartDirectoryLock::Take(dir.path().string(), 0ms);
    ASSERT_TRUE(first);
    EXPECT_FALSE(StartDirectoryLock::Take(dir.path().string(), 0ms));
    EXPECT_FALSE(StartDirectoryLock::Take(dir.path().string(), 100ms));

    auto waiting = std::async(std::launch::async, [&] {
        return StartDirectoryLock::Take(dir.path().string(), 10s).has_value();
    });
    std::this_thread::sleep_for(100ms);
    first.reset();
    EXPECT_TRUE(waiting.get());
}

TEST(StartDirectoryLock, RefusalNamesTheStartDirectoryInTheErrorBox) {
    TempDir dir;
    TNazwyJezykowe texts;
    texts.Fill(kLanguageEnglish);
    testing::ScriptedUserInterface ui;
    const auto held = LockStartDirectoryFor(dir.path().string(), 0ms, texts, ui);
    ASSERT_TRUE(held);
    EXPECT_TRUE(ui.errorBoxes.empty());
    EXPECT_FALSE(LockStartDirectoryFor(dir.path().string(), 0ms, texts, ui));
    ASSERT_EQ(ui.errorBoxes.size(), 1u);
    EXPECT_EQ(ui.errorBoxes[0], "Another VELMARK run is working in " + dir.path().string() +
                                    "\rTry again when it has finished.");
}

// Where nothing can be written (or there is no directory), there is nothing to protect.
TEST(StartDirectoryLock, MissingDirectoryNeedsNoLockFile) {
    TempDir dir;
    const std::string missing = dir.file("no-such-start");
    EXPECT_TRUE(StartDirectoryLock::Take(missing, 0ms));
    EXPECT_FALSE(std::filesystem::exists(missing));
}

}  // namespace
}  // namespace velmark
