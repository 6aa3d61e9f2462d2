#include "install/WorkFolder.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

TEST (WorkFolder, NumbersAreTakenOnceEachAcrossThreads)
{
    const int before = workFolderCounter.load();
    std::vector<std::vector<int>> taken (4);
    std::vector<std::thread> threads;

    for (auto& list : taken)
        threads.emplace_back ([&list] { for (int i = 0; i < 200; ++i) list.push_back (WorkFolder::takeNextNumber()); });

    for (auto& t : threads)
        t.join();

    std::set<int> all;
    for (const auto& list : taken)
        all.insert (list.begin(), list.end());

    // Every number from before + 1 on, none twice, none skipped.
    EXPECT_EQ (all.size(), 800u);
    EXPECT_EQ (*all.begin(), before + 1);
    EXPECT_EQ (*all.rbegin(), before + 800);
    EXPECT_GE (*all.begin(), 2);   // the counter starts at 1, so no sequence ever gets 1
}

TEST (WorkFolder, FolderIsNumberedBelowTheDownloadsFolder)
{
    ScopedSandbox sandbox;
    const auto folder = WorkFolder::folderFor (2);

    EXPECT_EQ (folder, sandbox.root().getChildFile ("Program Files/Vamrelund/Helper/downloads/2"));
    EXPECT_EQ (WorkFolder::archiveIn (folder), folder.getChildFile ("vds.zip"));
}
