// The quick-help guide as the report engine lays it out, and the PDF built
// from it at build time.
#include "petty/help/quick_help_layout.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <variant>

namespace petty {
namespace {

QGuiApplication& qtApp() {
    static int argc = 1;
    static char name[] = "petty_help_test";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return app;
}

std::string fileText(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(QuickHelpLayout, HeadingsListsAndParagraphsAreWrappedWithinThePage) {
    qtApp();
    const std::string longWords(60, 'x');
    std::string paragraph;
    for (int i = 0; i < 40; ++i) paragraph += "petty cash voucher ";
    const report::Document doc = quickHelpDocument("# The guide\n\n## Logging in\n\n" + paragraph +
                                                   "\n\n- one item\n1. first step\n12. twelfth step\n" + longWords);
    ASSERT_FALSE(doc.pages.empty());
    const std::string text = doc.text();
    for (const char* expected : {"The guide", "Logging in", "one item", "\u2022", "1.", "first step", "12.",
                                 "twelfth step", longWords.c_str()})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    int lines = 0;
    for (const report::Page& page : doc.pages)
        for (const report::PageItem& item : page.items)
            if (const auto* t = std::get_if<report::TextItem>(&item)) {
                EXPECT_LE(t->box.x + t->box.w, doc.width) << t->text;
                EXPECT_LE(t->box.y + t->box.h, doc.height) << t->text;
                if (t->text.find("petty cash voucher") != std::string::npos) ++lines;
            }
    EXPECT_GT(lines, 2) << "the long paragraph is wrapped over several lines";
}

TEST(QuickHelpLayout, TheGuideRunsOverPagesWhenLong) {
    qtApp();
    std::string guide = "# Long\n";
    for (int i = 0; i < 200; ++i) guide += "Paragraph " + std::to_string(i) + "\n\n";
    const report::Document doc = quickHelpDocument(guide);
    EXPECT_GT(doc.pages.size(), 3u);
    EXPECT_NE(doc.text().find("Paragraph 199"), std::string::npos);
}

TEST(QuickHelpPdf, TheBuiltGuideIsAPdfThatReadsAsTheGuide) {
    const std::string pdf = fileText(QUICK_HELP_PDF);
    ASSERT_GT(pdf.size(), 1000u);
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdftotext is not installed";
    const std::string out = ::testing::TempDir() + "quick_help.txt";
    ASSERT_EQ(std::system(("pdftotext -layout '" + std::string(QUICK_HELP_PDF) + "' '" + out + "'").c_str()), 0);
    const std::string text = fileText(out.c_str());
    for (const char* expected : {"Ostrelle - Quick Help", "Logging in", "First steps in a new book", "Entering a voucher",
                                 "Closing a period", "Where the book is kept"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    std::remove(out.c_str());
}

}  // namespace
}  // namespace petty
