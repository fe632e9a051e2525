#include "platform/forms/controls/activex_control.h"

#include <gtest/gtest.h>

#include "platform/com/class_objects.h"
#include "platform/com/testing/private_registry.h"
#include "platform/forms/test_support.h"
#include "platform/forms/testing/fake_face.h"
#include "platform/win/manual_timers.h"

namespace com {
bool operator==(const ControlRect& a, const ControlRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
void PrintTo(const ControlRect& r, std::ostream* out) {
    *out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}
}  // namespace com

namespace forms {
namespace {

using testing::FakeFace;
using Journal = std::vector<std::string>;

// The class the COM layer's test server registers: an object without a face.
constexpr com::CLSID kFaceless = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};

class ViewerForm : public Form {
public:
    ViewerForm() : Form("frmviewer") {
        move(0, 0, 6000, 4000);
        box.move(120, 120, 1500, 300);
        viewer.move(120, 600, 3000, 1500);  // 200 x 100 pixels
        ok.setDefault(true);
        ok.move(120, 2400, 1200, 400);
    }
    TextBox box{*this, "txtNote"};
    ActiveXControl viewer{*this, "MvViewer1"};
    CommandButton ok{*this, "cmdOK"};
};

class ActiveXControlTest : public testing::FormsTest {
protected:
    void SetUp() override {
        face = new FakeFace(&freed);
        form.viewer.attach(face->unknown());
        face->Release();  // the control holds the only reference now
    }
    void TearDown() override {
        form.unload();
        FormsTest::TearDown();
    }
    std::vector<com::ControlRect> invalidated() { return form.viewer.takeInvalidated(); }

    bool freed = false;
    FakeFace* face = nullptr;
    ViewerForm form;
};

TEST(ActiveXControlCreation, AnObjectWithoutAFaceIsOnlyCalled) {
    com::testing::PrivateRegistry registry;
    ViewerForm form;
    EXPECT_EQ(form.viewer.create(kFaceless), com::REGDB_E_CLASSNOTREG);
    EXPECT_EQ(form.viewer.object(), nullptr);

    ASSERT_EQ(com::CallServerRegistration(FAKE_SERVER_PATH, false), com::S_OK);
    ASSERT_EQ(form.viewer.create(kFaceless), com::S_OK);
    EXPECT_NE(form.viewer.object(), nullptr);
    EXPECT_FALSE(form.viewer.hasFace());
    EXPECT_EQ(form.viewer.dispatch(), nullptr);  // the test server's objects answer IUnknown only
    EXPECT_FALSE(form.viewer.canTakeFocus());
    com::ControlBackBuffer buffer;
    EXPECT_FALSE(form.viewer.backBuffer(buffer));
    EXPECT_FALSE(user::mouseOnFace(form.viewer, user::MouseAction::Down, 1, 0, 5, 5));
    form.viewer.release();
    EXPECT_EQ(form.viewer.object(), nullptr);
}

TEST_F(ActiveXControlTest, TheFaceGetsItsSiteVisibilityAndSizeFromTheControl) {
    EXPECT_EQ(face->take(), (Journal{"SetSite", "Show 1", "Resize 200x100"}));
    EXPECT_TRUE(form.viewer.hasFace());
    EXPECT_NE(form.viewer.dispatch(), nullptr);
    com::ControlBackBuffer buffer;
    ASSERT_TRUE(form.viewer.backBuffer(buffer));
    EXPECT_EQ(buffer.width, 200);
    EXPECT_EQ(buffer.height, 100);
    EXPECT_EQ(buffer.pixels[0], FakeFace::kBackground);
    EXPECT_EQ(invalidated(), (std::vector<com::ControlRect>{{0, 0, 200, 100}}));

    form.viewer.move(120, 600, 1507, 757);  // rounded to the nearest pixel, as the screen places it
    form.viewer.setVisible(false);
    form.viewer.resizeFace(100, 50);  // the same size again: not passed on
    EXPECT_EQ(face->take(), (Journal{"Resize 100x50", "Show 0"}));
    EXPECT_EQ(form.viewer.faceWidth(), 100);
    EXPECT_EQ(invalidated(), (std::vector<com::ControlRect>{{0, 0, 100, 50}}));
    EXPECT_TRUE(invalidated().empty());
}

TEST_F(ActiveXControlTest, InvalidatedPartsAreKeptWithinTheFaceWithoutRepeats) {
    invalidated();
    struct Case {
        std::vector<com::ControlRect> asked;
        std::vector<com::ControlRect> kept;
    };
    const Case cases[] = {
        {{{10, 10, 20, 20}}, {{10, 10, 20, 20}}},
        {{{-5, 90, 10, 130}}, {{0, 90, 10, 100}}},                          // clipped to the face
        {{{250, 10, 300, 20}, {10, 10, 10, 30}}, {}},                        // outside, or empty
        {{{10, 10, 20, 20}, {12, 12, 15, 15}}, {{10, 10, 20, 20}}},          // inside one already kept
        {{{12, 12, 15, 15}, {30, 30, 40, 40}, {0, 0, 20, 20}}, {{30, 30, 40, 40}, {0, 0, 20, 20}}},  // swallows one
    };
    for (const Case& c : cases) {
        for (const com::ControlRect& r : c.asked) ASSERT_EQ(face->site()->InvalidateRect(&r), com::S_OK);
        EXPECT_EQ(invalidated(), c.kept) << "first part " << c.asked[0].left << "," << c.asked[0].top;
    }
    // Many scattered parts become their bounding box.
    for (int i = 0; i < 40; ++i) {
        const com::ControlRect r{i * 4, i % 7, i * 4 + 2, i % 7 + 2};
        face->site()->InvalidateRect(&r);
    }
    const auto many = invalidated();
    EXPECT_LE(many.size(), 32u);
    int covered = 0;
    for (const auto& r : many)
        if (r.left <= 156 && r.right >= 158 && r.top <= 4 && r.bottom >= 6) ++covered;
    EXPECT_EQ(covered, 1) << "the last part is kept";
}

TEST_F(ActiveXControlTest, APressTakesTheFocusFirstThenReachesTheFace) {
    testing::EventLog log;
    form.show();
    form.box.onLostFocus = log.record("txtNote.LostFocus");
    form.viewer.onGotFocus = log.record("MvViewer1.GotFocus");
    ASSERT_TRUE(form.box.hasFocus());
    face->take();
    invalidated();

    EXPECT_TRUE(user::mouseOnFace(form.viewer, user::MouseAction::Down, com::kControlButtonLeft, 0, 20, 30));
    EXPECT_EQ(log.entries, (Journal{"txtNote.LostFocus", "MvViewer1.GotFocus"}));
    EXPECT_TRUE(user::mouseOnFace(form.viewer, user::MouseAction::Move, com::kControlButtonLeft, 1, 25, 35));
    EXPECT_TRUE(user::mouseOnFace(form.viewer, user::MouseAction::Up, com::kControlButtonLeft, 0, 25, 35));
    EXPECT_TRUE(user::mouseOnFace(form.viewer, user::MouseAction::DoubleClick, com::kControlButtonLeft, 0, 40, 50));
    EXPECT_TRUE(user::wheelOnFace(form.viewer, -240, com::kControlShiftCtrl, 50, 60));
    EXPECT_EQ(face->take(), (Journal{"FocusIn", "MouseDown 1 0 20,30", "MouseMove 1 1 25,35", "MouseUp 1 0 25,35",
                                     "MouseDown 1 0 40,50", "DoubleClick 1 0 40,50", "MouseWheel -240 2 50,60"}));
    // Each press painted a mark there, and only those parts are to be shown again.
    EXPECT_EQ(face->pixel(20, 30), FakeFace::kMark);
    EXPECT_EQ(invalidated(), (std::vector<com::ControlRect>{{20, 30, 28, 38}, {40, 50, 48, 58}}));

    // A disabled control takes nothing; a LostFocus handler that keeps the focus loses the press.
    form.viewer.setEnabled(false);
    EXPECT_FALSE(user::mouseOnFace(form.viewer, user::MouseAction::Down, 1, 0, 1, 1));
    EXPECT_FALSE(user::wheelOnFace(form.viewer, 120, 0, 1, 1));
    form.viewer.setEnabled(true);
    EXPECT_EQ(face->take(), Journal{});
    form.box.setFocus();
    form.box.onLostFocus = [this] { form.box.setFocus(); };
    EXPECT_FALSE(user::mouseOnFace(form.viewer, user::MouseAction::Down, 1, 0, 1, 1));
    EXPECT_EQ(face->take(), (Journal{"FocusOut"}));
    form.box.onLostFocus = nullptr;
}

TEST_F(ActiveXControlTest, KeysReachTheFaceExceptThoseTheFormTakes) {
    int okClicks = 0;
    form.ok.onClick = [&] { ++okClicks; };
    form.show();
    face->take();
    EXPECT_TRUE(user::keyDownOnFace(form.viewer, vbKeyA, vbShiftMask, u'A'));
    EXPECT_TRUE(user::keyUpOnFace(form.viewer, vbKeyA, vbShiftMask));
    EXPECT_TRUE(user::keyDownOnFace(form.viewer, vbKeyLeft, 0));
    EXPECT_TRUE(user::keyDownOnFace(form.viewer, vbKeyEscape, 0, 27));  // no cancel button: the face's
    EXPECT_TRUE(user::keyDownOnFace(form.viewer, vbKeyReturn, 0, 13));  // the default button's
    EXPECT_EQ(okClicks, 1);
    EXPECT_TRUE(user::keyDownOnFace(form.viewer, vbKeyTab, 0));
    EXPECT_TRUE(form.ok.hasFocus());
    EXPECT_EQ(face->take(), (Journal{"FocusIn", "KeyDown 65 1", "KeyPress 65", "KeyUp 65 1", "KeyDown 37 0",
                                     "KeyDown 27 0", "KeyPress 27", "FocusOut"}));
}

TEST_F(ActiveXControlTest, TheFaceMayAskForTheFocus) {
    form.show();
    face->take();
    EXPECT_EQ(face->site()->SetFocus(), com::S_OK);
    EXPECT_TRUE(form.viewer.hasFocus());
    form.viewer.setVisible(false);  // hiding moves nothing by itself; the face cannot ask while hidden
    form.box.setFocus();
    EXPECT_EQ(face->site()->SetFocus(), com::S_FALSE);
    EXPECT_TRUE(form.box.hasFocus());
    EXPECT_EQ(face->take(), (Journal{"FocusIn", "Show 0", "FocusOut"}));
}

TEST_F(ActiveXControlTest, DroppedFilesReachAFaceThatTakesThem) {
    form.show();
    face->take();
    EXPECT_FALSE(user::dropFilesOnFace(form.viewer, {"/tmp/bill.png"}, 3, 4));
    ASSERT_EQ(face->site()->AcceptFiles(1), com::S_OK);
    EXPECT_TRUE(form.viewer.acceptsFiles());
    EXPECT_TRUE(user::dropFilesOnFace(form.viewer, {"/tmp/bill.png", "/tmp/Rechnung \xc3\xa4.tif"}, 3, 4));
    EXPECT_EQ(face->take(), (Journal{"FilesDropped /tmp/bill.png /tmp/Rechnung \xc3\xa4.tif @3,4"}));
}

TEST_F(ActiveXControlTest, TimersRunOnTheHostsClockUntilKilledOrReleased) {
    win::ScopedManualTimers clock;
    face->take();
    ASSERT_EQ(face->site()->SetTimer(7, 100), com::S_OK);
    ASSERT_EQ(face->site()->SetTimer(9, 40), com::S_OK);
    clock.advance(100);
    EXPECT_EQ(face->take(), (Journal{"TimerFired 9", "TimerFired 9", "TimerFired 7"}));
    ASSERT_EQ(face->site()->SetTimer(7, 10), com::S_OK);  // restarted with the new interval
    EXPECT_EQ(face->site()->KillTimer(9), com::S_OK);
    EXPECT_EQ(face->site()->KillTimer(9), com::S_FALSE);
    clock.advance(25);
    EXPECT_EQ(face->take(), (Journal{"TimerFired 7", "TimerFired 7"}));
    EXPECT_EQ(form.viewer.runningTimers(), (std::vector<uint32_t>{7}));

    // Letting the object go stops its timers and takes its site away before the last reference.
    form.viewer.release();
    EXPECT_TRUE(freed);
    EXPECT_EQ(clock.running(), 0u);
    EXPECT_TRUE(form.viewer.runningTimers().empty());
}

TEST_F(ActiveXControlTest, WithoutATimerHostATimerIsRefused) {
    ASSERT_EQ(win::CurrentTimerHost(), nullptr);
    EXPECT_EQ(face->site()->SetTimer(1, 100), com::E_FAIL);
    EXPECT_TRUE(form.viewer.runningTimers().empty());
}

TEST_F(ActiveXControlTest, ASiteKeptPastTheControlRefusesEveryRequest) {
    com::IControlSite* kept = face->site();
    kept->AddRef();
    form.viewer.release();
    EXPECT_TRUE(freed);
    const com::ControlRect r{0, 0, 1, 1};
    int32_t chosen = 5;
    EXPECT_EQ(kept->InvalidateRect(&r), com::E_UNEXPECTED);
    EXPECT_EQ(kept->SetTimer(1, 10), com::E_UNEXPECTED);
    EXPECT_EQ(kept->SetFocus(), com::E_UNEXPECTED);
    EXPECT_EQ(kept->ShowPopupMenu(nullptr, 0, 0, 0, &chosen), com::E_UNEXPECTED);
    EXPECT_EQ(chosen, 0);
    // The control still takes a new object with the same site.
    bool secondFreed = false;
    auto* second = new FakeFace(&secondFreed);
    form.viewer.attach(second->unknown());
    second->Release();
    EXPECT_NE(second->site(), nullptr);
    EXPECT_EQ(second->site()->InvalidateRect(&r), com::S_OK);
    kept->Release();
}

TEST_F(ActiveXControlTest, PointerAndCaptureAreKeptForTheFrontEnd) {
    const uint32_t hand[4] = {0xFF000000, 0, 0, 0xFFFFFFFF};
    const com::ControlCursorImage image{hand, 2, 2, 1, 1};
    EXPECT_EQ(face->site()->SetCursor(com::kControlCursorCustom, &image), com::S_OK);
    EXPECT_EQ(form.viewer.mousePointer().pointer, com::kControlCursorCustom);
    EXPECT_EQ(form.viewer.mousePointer().pixels, (std::vector<uint32_t>{0xFF000000, 0, 0, 0xFFFFFFFF}));
    const com::ControlCursorImage badHotSpot{hand, 2, 2, 2, 0};
    EXPECT_EQ(face->site()->SetCursor(com::kControlCursorCustom, &badHotSpot), com::E_INVALIDARG);
    EXPECT_EQ(face->site()->SetCursor(16, nullptr), com::E_INVALIDARG);
    EXPECT_EQ(face->site()->SetCursor(2, nullptr), com::S_OK);
    EXPECT_EQ(form.viewer.mousePointer().pointer, 2);
    EXPECT_TRUE(form.viewer.mousePointer().pixels.empty());
    EXPECT_EQ(face->site()->SetCapture(1), com::S_OK);
    EXPECT_TRUE(form.viewer.captured());
    form.viewer.release();
    EXPECT_FALSE(form.viewer.captured());
    EXPECT_EQ(form.viewer.mousePointer().pointer, 0);
}

TEST_F(ActiveXControlTest, AContextMenuAnswersOnlyWhatTheUserCouldChoose) {
    const com::ControlMenuItem items[] = {
        {u"&Zoom", 0, -1, 0},
        {u"Fit", 11, 0, com::kControlMenuChecked},
        {u"Width", 12, 0, com::kControlMenuDisabled},
        {u"", 0, -1, com::kControlMenuSeparator},
        {u"&Close", 20, -1, 0},
    };
    std::vector<PopupMenuEntry> seen;
    int answer = 0;
    form.viewer.showPopupMenu = [&](const std::vector<PopupMenuEntry>& entries, int x, int y) {
        seen = entries;
        EXPECT_EQ(x, 5);
        EXPECT_EQ(y, 6);
        return answer;
    };
    struct Case {
        int answer;
        int32_t chosen;
    };
    for (const Case c : {Case{11, 11}, Case{20, 20}, Case{12, 0}, Case{0, 0}, Case{99, 0}}) {
        answer = c.answer;
        int32_t chosen = -1;
        ASSERT_EQ(face->site()->ShowPopupMenu(items, 5, 5, 6, &chosen), com::S_OK);
        EXPECT_EQ(chosen, c.chosen) << "answer " << c.answer;
    }
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[0].caption, "&Zoom");
    EXPECT_EQ(seen[1].parent, 0);
    EXPECT_TRUE(seen[1].checked);
    EXPECT_TRUE(seen[2].disabled);
    EXPECT_TRUE(seen[3].separator);
    // An entry under a parent that does not come before it is refused.
    const com::ControlMenuItem loop[] = {{u"A", 1, 1, 0}, {u"B", 2, -1, 0}};
    int32_t chosen = -1;
    EXPECT_EQ(face->site()->ShowPopupMenu(loop, 2, 0, 0, &chosen), com::E_INVALIDARG);
    EXPECT_EQ(chosen, 0);
}

TEST_F(ActiveXControlTest, TheProgramCallsTheObjectByDispatchId) {
    com::DISPPARAMS none{nullptr, nullptr, 0, 0};
    ASSERT_NE(form.viewer.dispatch(), nullptr);
    form.viewer.dispatch()->Invoke(0x60030051, com::IID{}, 0, com::DISPATCH_METHOD, &none, nullptr, nullptr,
                                   nullptr);
    EXPECT_EQ(face->journal.back(), "Invoke " + std::to_string(0x60030051));
}

}  // namespace
}  // namespace forms
