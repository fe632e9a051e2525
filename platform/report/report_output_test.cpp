// The pages as the user gets them: a PDF file, a print job, the preview window.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <functional>
#include <iterator>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QTimer>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QToolButton>

#include "platform/report/dispatch_ids.h"
#include "platform/report/page_painter.h"
#include "platform/report/qt_report_output.h"
#include "platform/report/report_preview.h"
#include "platform/report/report_error.h"
#include "platform/report/report_layout.h"
#include "platform/report/test_support.h"

namespace report {
namespace {

using testing::havePdfToText;
using testing::pdfText;

// A list of `rows` numbered rows: long enough for several pages.
Document numberedList(int rows) {
    const ReportDefinition definition = parseReportDefinition(
        "[report]\nname = Numbered\nlayout = list\ncolumn = N | Number | 80\ncolumn = Amount | Amount | 80 | total\n");
    ReportRows data{{"N", "Amount"}, {}};
    for (int i = 1; i <= rows; ++i)
        data.rows.push_back({jet::Value(i), jet::Value(*vb::Currency::fromDecimalText("1.25"))});
    return layoutReport(definition, data, {}, {"Rao & Sons", "All rows", "01/06/2024"});
}

std::string contentOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ReportOutputTest : public ::testing::Test {
protected:
    void SetUp() override { testing::qtApplication(); }
    jet::testing::TestFolder folder;
};

TEST_F(ReportOutputTest, APdfCarriesEveryPageWithItsTexts) {
    if (!havePdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const Document doc = numberedList(150);
    ASSERT_GT(doc.pages.size(), 2u);
    writePdf(doc, folder / "list.pdf");
    const std::string text = pdfText(folder / "list.pdf");
    for (const std::string& expected : {std::string("Rao & Sons"), std::string("Numbered"), std::string("All rows"),
                                       std::string("150"), std::string("187.50"),
                                       "Page " + std::to_string(doc.pages.size()) + " of " +
                                           std::to_string(doc.pages.size())})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    EXPECT_EQ(static_cast<size_t>(std::count(text.begin(), text.end(), '\f')), doc.pages.size());
}

TEST_F(ReportOutputTest, APdfThatCannotBeWrittenRaisesAndLeavesNothing) {
    EXPECT_THROW(writePdf(numberedList(3), folder / "missing folder" / "x.pdf"), ReportError);
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

TEST_F(ReportOutputTest, APdfIsTheOwnersAloneAndACutOffOneIsNeverLeftInPlace) {
    writePdf(numberedList(3), folder / "mine.pdf");
    struct stat info {};
    ASSERT_EQ(::stat((folder / "mine.pdf").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    // A disk that fills up part-way (a file size limit in a child process).
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(30);  // never hang the suite
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{2048, 2048};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        try {
            writePdf(numberedList(400), folder / "big.pdf");
        } catch (const ReportError&) {
            ::_exit(0);
        }
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a cut-off PDF was reported as written";
    EXPECT_EQ(folder.names(), std::vector<std::filesystem::path>{"mine.pdf"});
}

TEST_F(ReportOutputTest, PrintingGoesThroughQtsPrinterToAPdfPrinter) {
    if (!havePdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QtReportOutput output;
    output.printToPdf(folder / "printed.pdf");
    std::string note;
    output.onPrinted([&](const std::string& text) { note = text; });
    output.print(numberedList(5), "job");
    const std::string text = pdfText(folder / "printed.pdf");
    EXPECT_NE(text.find("Numbered"), std::string::npos);
    EXPECT_NE(text.find("6.25"), std::string::npos);
    EXPECT_EQ(note, "\"job\" was sent to the file " + (folder / "printed.pdf").string() + ".");
}

TEST_F(ReportOutputTest, ThePreviewsPrintAsksForThePrinterFirst) {
    if (!havePdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QtReportOutput output;
    output.printToPdf(folder / "printed.pdf");
    for (const bool accept : {false, true}) {
        SCOPED_TRACE(accept ? "printed" : "cancelled");
        std::string dialogTitle;
        output.onPreviewShown([&](ReportPreview& preview) {
            QTimer::singleShot(100, [&] {
                if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                    dialogTitle = dialog->windowTitle().toStdString();
                    if (accept) dialog->accept();
                    else dialog->reject();
                }
            });
            preview.button("print")->click();
            preview.button("close")->click();
        });
        output.preview(numberedList(5), PreviewOptions{"Reports", {}});
        EXPECT_EQ(dialogTitle, "Print");
        EXPECT_EQ(std::filesystem::exists(folder / "printed.pdf"), accept);
    }
    EXPECT_NE(pdfText(folder / "printed.pdf").find("Numbered"), std::string::npos);
}

// The preview's Print, answered "print" in the print dialog (to the file set
// with printToPdf); the text of any message box that follows is kept.
std::vector<std::string> printFromThePreview(QtReportOutput& output, const Document& document) {
    std::vector<std::string> messages;
    output.onPreviewShown([&](ReportPreview& preview) {
        QTimer::singleShot(100, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            QTimer::singleShot(200, [&] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    messages.push_back(box->text().toStdString());
                    box->accept();
                }
            });
            dialog->accept();
        });
        preview.button("print")->click();
        preview.button("close")->click();
    });
    output.preview(document, PreviewOptions{"Reports", {}});
    return messages;
}

TEST_F(ReportOutputTest, PrintToFileWritesTheWholeFileOrKeepsTheOldOneAndItIsTheOwnersAlone) {
    if (!havePdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const std::filesystem::path file = folder / "printed.pdf";
    QtReportOutput output;
    output.printToPdf(file);

    // The preview's print and the direct print, each over the PDF printed before.
    writePdf(numberedList(2), file);
    const std::string before = contentOf(file);
    const auto fromPreview = [&] { return printFromThePreview(output, numberedList(400)); };
    const auto direct = [&] {
        try {
            output.print(numberedList(400), "job");
        } catch (const ReportError& e) {
            return std::vector<std::string>{e.what()};
        }
        return std::vector<std::string>{};
    };
    for (const auto& print : {std::function<std::vector<std::string>()>(fromPreview),
                              std::function<std::vector<std::string>()>(direct)}) {
        // A disk that fills up part-way: a file size limit, its signal ignored.
        rlimit old{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, old.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const std::vector<std::string> messages = print();
        ::setrlimit(RLIMIT_FSIZE, &old);
        ::signal(SIGXFSZ, oldHandler);

        ASSERT_EQ(messages.size(), 1u) << "a cut-off print was not reported";
        EXPECT_NE(messages[0].find("Cannot write " + file.string()), std::string::npos) << messages[0];
        EXPECT_EQ(contentOf(file), before) << "the old file was lost";
        EXPECT_EQ(folder.names(), std::vector<std::filesystem::path>{"printed.pdf"});
    }

    ::chmod(file.c_str(), 0644);
    EXPECT_TRUE(printFromThePreview(output, numberedList(5)).empty());
    EXPECT_NE(pdfText(file).find("6.25"), std::string::npos);
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(ReportOutputTest, ThePreviewPagesZoomsFindsAndShowsOnlyWhatTheSwitchesAllow) {
    const Document doc = numberedList(150);
    QtReportOutput output;
    bool shown = false;
    output.onPreviewShown([&](ReportPreview& preview) {
        shown = true;
        EXPECT_EQ(preview.windowTitle().toStdString(), "Reports");
        EXPECT_TRUE(preview.button("next")->isVisibleTo(&preview));
        EXPECT_FALSE(preview.button("print")->isVisibleTo(&preview));
        EXPECT_TRUE(preview.button("export")->isVisibleTo(&preview));
        preview.button("next")->click();
        EXPECT_EQ(preview.page(), 1);
        preview.button("last")->click();
        EXPECT_EQ(preview.page(), static_cast<int>(doc.pages.size()) - 1);
        preview.button("next")->click();
        EXPECT_EQ(preview.page(), static_cast<int>(doc.pages.size()) - 1);
        preview.button("first")->click();
        EXPECT_EQ(preview.page(), 0);
        EXPECT_TRUE(preview.find("150"));
        EXPECT_EQ(preview.page(), static_cast<int>(doc.pages.size()) - 1);
        EXPECT_FALSE(preview.find("no such text"));
        preview.findChild<QComboBox*>("zoom")->setCurrentIndex(5);
        EXPECT_DOUBLE_EQ(preview.zoom(), 2.0);
        preview.button("close")->click();
    });
    output.preview(doc, PreviewOptions{"Reports", {{dispid::kShowPrintButton, false}}});
    EXPECT_TRUE(shown);
}

TEST_F(ReportOutputTest, ThePreviewOpensAtTheLargestZoomUpToFullSizeThatShowsThePagesWidth) {
    const ReportDefinition wide = parseReportDefinition(
        "[report]\nname = Wide\norientation = landscape\nlayout = list\ncolumn = N | Number | 80\n");
    const Document landscape = layoutReport(wide, ReportRows{{"N"}, {{jet::Value(1)}}}, {}, {"Rao", "", ""});
    struct Case {
        const Document* document;
        double zoom;
    };
    const Document portrait = numberedList(3);
    for (const Case& c : {Case{&portrait, 1.0}, Case{&landscape, 0.75}}) {
        QtReportOutput output;
        double opened = 0;
        output.onPreviewShown([&](ReportPreview& preview) {
            opened = preview.zoom();
            EXPECT_EQ(preview.findChild<QComboBox*>("zoom")->currentData().toInt(), static_cast<int>(c.zoom * 100));
            preview.button("close")->click();
        });
        output.preview(*c.document, PreviewOptions{"Reports", {}});
        EXPECT_DOUBLE_EQ(opened, c.zoom) << c.document->width;
    }
}

TEST_F(ReportOutputTest, APageImageShowsItsTextsAndChartsInColour) {
    const ReportDefinition definition =
        parseReportDefinition("[report]\nname = Shares\nlayout = pie\ncategory = Head\nvalue = Amount\n");
    ReportRows data{{"Head", "Amount"}, {}};
    data.rows.push_back({jet::Value("Fuel"), jet::Value(30.0)});
    data.rows.push_back({jet::Value("Travel"), jet::Value(70.0)});
    const Document doc = layoutReport(definition, data, {}, {"Co", "T", "d"});
    EXPECT_NE(doc.text().find("100.00"), std::string::npos);
    const QImage image = pageImage(doc, 0, 1.0);
    int coloured = 0;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - c.blue()) > 60) ++coloured;
        }
    EXPECT_GT(coloured, 500);
}

}  // namespace
}  // namespace report
