#pragma once
// A viewer that opens PDFs through the plug-in built here, with its message
// boxes collected, a scratch folder and a temporary folder of its own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "imaging/engine/image_table.h"
#include "imaging/engine/pdf_plugin.h"
#include "imaging/engine/testing/test_files.h"
#include "imaging/viewer/testing/viewer_fixture.h"
#include "platform/com/bstr.h"
#include "platform/files/testing/scratch_folder.h"
#include "platform/win/message_box.h"
#include "plugins/mvpdfplug/testing/sample_pdfs.h"

namespace scanvelt::testing {

constexpr com::DISPID kPdfPasswordRequest = 25;

inline bool tool(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

class ViewerPdf : public ViewerFixture {
protected:
    void SetUp() override {
        SetPdfPluginFile(MVPDFPLUG_LIBRARY);
        ViewerFixture::SetUp();
        show(200, 150);
        win::SetMessageBoxHandler([this](const win::MessageBoxRequest& r) {
            boxes.push_back(r.text);
            return win::IDOK;
        });
    }
    void TearDown() override {
        ViewerFixture::TearDown();
        win::SetMessageBoxHandler({});
        SetPdfPluginFile("");
    }
    ViewerControl& control() { return static_cast<ViewerObject*>(static_cast<com::DispatchControl*>(viewer))->control(); }
    int32_t open(const std::string& path, const std::string& password = "") {
        return callLong("DisplayFromPdfFile", {com::MakeBstrUtf8(path), com::MakeBstrUtf8(password)});
    }
    int32_t longOf(const char* name) { return get(name).lVal; }
    std::string textOf(const char* name) {
        com::VARIANT v = call(name);
        std::string text = com::BstrToUtf8(v.bstrVal);
        com::VariantClear(&v);
        return text;
    }
    // The grey level of the shown page image at (x, y).
    int gray(int32_t x, int32_t y) {
        gdiplus::ARGB color = 0;
        EXPECT_EQ(NativeBitmapOf(control().nativeImageId())->GetPixel(x, y, color), gdiplus::Ok);
        return static_cast<int>(color & 0xFF);
    }
    std::string locked(const std::string& password) {
        mvpdfplug::testing::writeBoxPages(scratch.file("plain.pdf"), {{612, 792}});
        std::string out = scratch.file("locked.pdf");
        EXPECT_TRUE(tool("qpdf --encrypt '" + password + "' owner 256 -- " + scratch.file("plain.pdf") + " " + out));
        return out;
    }

    files::testing::ScratchFolder scratch;
    std::vector<std::string> boxes;
    // Temporary copies go to a folder of this test's own, never one another test counts.
    testing_support::ScopedTestFolder tempFolder_{"scanvelt_viewer_pdf"};
    testing_support::ScopedTempFolderVariable temp_{tempFolder_.path()};
};

}  // namespace scanvelt::testing
