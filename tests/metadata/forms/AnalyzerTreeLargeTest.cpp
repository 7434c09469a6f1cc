#include "metadata/forms/CXAnalyzerTree.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"
#include "support/WindowTestApp.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTimer>

#include <chrono>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <thread>

namespace {

// About 300 MB of MPEG audio: one fixture's frames again and again.
std::string makeLargeMp3(const TempFolder& folder) {
    const std::vector<std::uint8_t> song = FileBytes::read(QUARVEL_FIXTURES "/mpeg/abr96.mp3");
    const std::string path = folder.file("large.mp3");
    std::ofstream out(path, std::ios::binary);
    for (int copy = 0; copy < 15000; ++copy) out.write(reinterpret_cast<const char*>(song.data()), static_cast<std::streamsize>(song.size()));
    return path;
}

class AnalyzerTreeLargeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new TempFolder;
        path_ = makeLargeMp3(*folder_);
    }
    static void TearDownTestSuite() { delete folder_; }

    QApplication& app_ = WindowTestApp::instance();
    static inline TempFolder* folder_ = nullptr;
    static inline std::string path_;
};

TEST_F(AnalyzerTreeLargeTest, LargeFileIsAnalysedWhileTheEventLoopRuns) {
    const std::string& path = path_;
    CXAnalyzerTree tree;
    QSignalSpy analysed(&tree, &CXAnalyzerTree::analysed);
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(0);

    QElapsedTimer clock;
    clock.start();
    tree.AnalyseFile(QString::fromStdString(path));
    const qint64 returnedAfter = clock.elapsed();
    EXPECT_TRUE(analysed.isEmpty());
    ASSERT_TRUE(analysed.wait(60000));
    std::cout << "AnalyseFile returned after " << returnedAfter << " ms; the tree was filled after " << clock.elapsed()
              << " ms with " << ticks << " timer events in between\n";
    EXPECT_GT(ticks, 0);
    EXPECT_EQ(analysed.first().first().toInt(), 0);
    ASSERT_EQ(tree.topLevelItemCount(), 3);
    EXPECT_EQ(tree.topLevelItem(2)->child(6)->text(0), "Frames: 869999");
}

TEST_F(AnalyzerTreeLargeTest, TreeMayGoWhileItsAnalysisRuns) {
    auto tree = std::make_unique<CXAnalyzerTree>();
    QSignalSpy analysed(tree.get(), &CXAnalyzerTree::analysed);
    tree->AnalyseFile(QString::fromStdString(path_));
    // The worker is inside the analysis by now (the walk takes some 100 ms). No event is
    // processed before the tree goes, so a result that is already on its way must be dropped
    // with the tree rather than delivered: the outcome does not depend on the walk's speed.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    QElapsedTimer clock;
    clock.start();
    tree.reset();
    std::cout << "The tree went after " << clock.elapsed() << " ms\n";
    // Nothing is delivered to the tree that went.
    QApplication::processEvents();
    QApplication::sendPostedEvents();
    EXPECT_TRUE(analysed.isEmpty());
}

} // namespace
