// The Scanvelt library's Twain control, made from its class ID and called by
// dispatch ID only, draws a scanned page into a form's picture box on a real
// display: the screen shows the page in the rectangle the program named.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/com/abi.h"
#include "platform/com/bstr.h"
#include "platform/com/class_objects.h"
#include "platform/com/testing/invoke_method.h"
#include "platform/com/testing/private_registry.h"
#include "platform/com/variant.h"
#include "platform/files/testing/scratch_folder.h"
#include "platform/forms/forms.h"
#include "platform/forms/test_ui.h"
#include "platform/forms_qt/host_window.h"
#include "platform/forms_qt/live_viewer/screen_grab.h"
#include "platform/forms_qt/qt_host.h"
#include "platform/win/guid.h"

namespace {

constexpr const char* kTwainClassId = "{06E482ED-A0CF-41AD-A6CE-0C2C7961D7CA}";
constexpr com::DISPID kTwainOpenSource = 0x6003007a;
constexpr com::DISPID kTwainGetSourceCount = 0x6003007f;
constexpr com::DISPID kTwainGetSourceName = 0x60030080;
constexpr com::DISPID kTwainSetHideUI = 0x600300f4;
constexpr com::DISPID kTwainAcquireToMorvalenImage = 0x60030078;
constexpr com::DISPID kDisplayImageOnHwnd = 0x60030122;
constexpr com::DISPID kDisplayImageRectOnHwnd = 0x60030124;
constexpr int32_t kNearestNeighbour = 5;

constexpr QRgb kTopBand = 0xFFD02020;
constexpr QRgb kBottomBand = 0xFF2040D0;
constexpr QRgb kPaper = 0xFFFFFFFF;

// A 200 x 120 page: a red band over the top third, a blue one over the bottom third, white between.
QImage makePage() {
    QImage page(200, 120, QImage::Format_RGB32);
    page.fill(kPaper);
    QPainter p(&page);
    p.fillRect(0, 0, 200, 40, QColor::fromRgb(kTopBand));
    p.fillRect(0, 80, 200, 40, QColor::fromRgb(kBottomBand));
    return page;
}

class BillForm : public forms::Form {
public:
    BillForm() : Form("frmbilldrawing") {
        move(0, 0, 6000, 4500);
        picture.move(0, 0, 3600, 2400);  // 240 x 160 pixels
    }
    forms::PictureBox picture{*this, "picBill"};
};

class Twain {
public:
    explicit Twain(com::IDispatch* dispatch) : dispatch_(dispatch) {}
    ~Twain() {
        if (dispatch_) dispatch_->Release();
    }
    // The result, which the caller owns.
    com::VARIANT call(com::DISPID id, std::vector<com::VARIANT> arguments = {}) {
        com::VARIANT result;
        EXPECT_EQ(com::testing::InvokeMethod(dispatch_, id, std::move(arguments), result), com::S_OK);
        return result;
    }
    int32_t number(com::DISPID id, std::vector<com::VARIANT> arguments = {}) {
        const com::Variant result(call(id, std::move(arguments)));
        EXPECT_EQ(result->vt, com::VT_I4);
        return result->lVal;
    }

private:
    com::IDispatch* dispatch_;
};

using forms_qt::testing::onScreen;

// Whether every pixel of the rectangle shows the colour.
bool filledWith(const QImage& image, const QRect& r, QRgb colour) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if ((image.pixel(x, y) | 0xFF000000) != colour) return false;
    return true;
}

TEST(LiveWindowDrawing, AScannedPageIsDrawnIntoAPictureBoxByDispatchId) {
    files::testing::ScratchFolder folder("live-window-drawing");
    const std::string pagePath = folder.file("page.pnm");
    ASSERT_TRUE(makePage().save(QString::fromStdString(pagePath), "PPM"));
    // The scripted source delivers the page; SANE sees no backend of the machine.
    std::filesystem::create_directories(folder.file("sane"));
    std::ofstream(folder.file("sane/dll.conf")).close();
    setenv("SANE_CONFIG_DIR", folder.file("sane").c_str(), 1);
    setenv("MVTWAIN_SCRIPTED_SOURCE", ("pages=" + pagePath).c_str(), 1);

    com::testing::PrivateRegistry registry;
    ASSERT_EQ(com::CallServerRegistration(SCANVELT_LIBRARY_PATH, false), com::S_OK);
    com::IDispatch* dispatch = nullptr;
    ASSERT_EQ(com::CoCreateInstance(*win::ParseGuid(kTwainClassId), nullptr, com::IID_IDispatch,
                                    reinterpret_cast<void**>(&dispatch)),
              com::S_OK);
    Twain twain(dispatch);
    const int32_t sources = twain.number(kTwainGetSourceCount);
    bool opened = false;
    for (int32_t n = 1; n <= sources && !opened; ++n) {
        const com::Variant name(twain.call(kTwainGetSourceName, {com::MakeI4(n)}));
        ASSERT_EQ(name->vt, com::VT_BSTR);
        const std::string text = com::BstrToUtf8(name->bstrVal);
        if (text.rfind("scripted", 0) != 0) continue;
        const com::Variant open(twain.call(kTwainOpenSource, {com::MakeBstrUtf8(text)}));
        opened = open->vt == com::VT_BOOL && open->boolVal != 0;
    }
    ASSERT_TRUE(opened) << "the scripted source is not listed";
    com::Variant hidden(twain.call(kTwainSetHideUI, {com::MakeBool(true)}));
    ASSERT_NE(twain.number(kTwainAcquireToMorvalenImage, {com::MakeI4(0)}), 0);

    forms::TestUi ui;
    forms::ScopedUi useUi(ui);
    forms_qt::QtHost host;
    BillForm form;
    form.show();
    QWidget* window = host.windowOf(form);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QWidget* picture = host.widgetOf(form.picture);
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(picture->size(), QSize(240, 160));
    const QRgb background = onScreen(picture).pixel(239, 159) | 0xFF000000;
    ASSERT_NE(background, kTopBand);
    const auto handle = static_cast<int32_t>(forms_qt::WindowHandleOf(*picture));

    // The whole page at half size, 10 pixels in from the top left.
    EXPECT_EQ(twain.number(kDisplayImageOnHwnd, {com::MakeI4(handle), com::MakeI4(10), com::MakeI4(10),
                                                 com::MakeI4(100), com::MakeI4(60), com::MakeI4(kNearestNeighbour)}),
              0);
    // The bottom band stretched into a rectangle at the right.
    EXPECT_EQ(twain.number(kDisplayImageRectOnHwnd,
                           {com::MakeI4(handle), com::MakeI4(150), com::MakeI4(20), com::MakeI4(60), com::MakeI4(90),
                            com::MakeI4(0), com::MakeI4(80), com::MakeI4(200), com::MakeI4(40),
                            com::MakeI4(kNearestNeighbour)}),
              0);
    QTest::qWait(100);
    QCoreApplication::processEvents();
    const QImage shown = onScreen(picture);
    shown.save(QString::fromStdString(folder.file("shown.png")));
    EXPECT_TRUE(filledWith(shown, QRect(10, 10, 100, 20), kTopBand));
    EXPECT_TRUE(filledWith(shown, QRect(10, 30, 100, 20), kPaper));
    EXPECT_TRUE(filledWith(shown, QRect(10, 50, 100, 20), kBottomBand));
    EXPECT_TRUE(filledWith(shown, QRect(150, 20, 60, 90), kBottomBand));
    // Around the rectangles the picture box shows itself.
    EXPECT_TRUE(filledWith(shown, QRect(0, 0, 240, 10), background));
    EXPECT_TRUE(filledWith(shown, QRect(110, 10, 40, 150), background));
    EXPECT_TRUE(filledWith(shown, QRect(10, 70, 100, 90), background));

    // A window the host never registered: the library's own failure status.
    EXPECT_EQ(twain.number(kDisplayImageOnHwnd, {com::MakeI4(handle + 1), com::MakeI4(0), com::MakeI4(0),
                                                 com::MakeI4(10), com::MakeI4(10)}),
              7);
    form.unload();
    QCoreApplication::processEvents();
}

}  // namespace
