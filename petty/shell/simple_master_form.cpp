#include "petty/shell/simple_master_form.h"

#include "petty/shell/skip_on_failure.h"

namespace petty {

namespace {

// Layout, in twips.
constexpr int kMargin = 240;
constexpr int kInnerWidth = 7680;
constexpr int kGridTop = 480;
constexpr int kGridHeight = 2760;
constexpr int kDataTop = kGridTop + kGridHeight + 60;
constexpr int kFrameTop = kDataTop + 450;
constexpr int kNoteHeight = 300;
constexpr MasterFieldColumns kFieldColumns{150, 1500, 4200};

}  // namespace

SimpleMasterForm::SimpleMasterForm(std::string name, Family family, const std::string& keyColumn)
    : MasterDataForm(std::move(name), std::move(family)) {
    lblTitle.move(kMargin, 120, kInnerWidth / 2, 300);
    Label3.bind(datPrimaryRS, keyColumn);
    Label3.move(kMargin + kInnerWidth / 2, 120, kInnerWidth / 2, 300);
    DBGrid1.move(kMargin, kGridTop, kInnerWidth, kGridHeight);
    datPrimaryRS.move(kMargin, kDataTop, 3600, 330);
    Frame1.move(kMargin, kFrameTop, kInnerWidth, 0);
    cmdadd.setCaption("Add");
}

forms::TextBox& SimpleMasterForm::addField(int index, std::string label, const std::string& column) {
    forms::TextBox& box = txtFields.add(index);
    box.bind(datPrimaryRS, column);
    placeField(Frame1, &lblLabels.add(index), std::move(label), box, static_cast<int>(inFrame_.size()), kFieldColumns);
    inFrame_.push_back(&box);
    return box;
}

void SimpleMasterForm::addToFrame(forms::Control& control) {
    placeField(Frame1, nullptr, "", control, static_cast<int>(inFrame_.size()), kFieldColumns);
    inFrame_.push_back(&control);
}

void SimpleMasterForm::finishLayout(std::initializer_list<const char*> notes) {
    Frame1.setHeight(300 + static_cast<int>(inFrame_.size()) * 420 + 60);
    int top = Frame1.top() + Frame1.height() + 90;
    int index = 0;
    for (const char* note : notes) {
        forms::Label& label = lblNotes.add(index++);
        label.setCaption(note);
        label.move(kMargin, top, kInnerWidth, kNoteHeight);
        top += kNoteHeight;
    }
    placeButtons(top + 210, kMargin + kInnerWidth);
    move(0, 0, kInnerWidth + 2 * kMargin, top + 210 + 420 + kMargin);

    std::vector<forms::Control*> order = inFrame_;
    order.insert(order.end(), {&cmdadd, &cmdupdate, &cmdDelete, &cmdclose, &DBGrid1});
    setTabOrder(order);
}

void SimpleMasterForm::showPosition(int64_t position) {
    datPrimaryRS.setCaption("Record: " + std::to_string(position));
}

void SimpleMasterForm::cmdadd_Click() {
    skipOnFailure([this] { enableFrames(true); });
    skipOnFailure([this] { datPrimaryRS.recordset().addNew(); });
    skipOnFailure([this] { newRowStarted(); });
    skipOnFailure([this] { keyBox().setFocus(); });
}

}  // namespace petty
