#pragma once
// Pictures by name: Image is a plain picture, PictureBox also a container.
// The name is what the program assigns (a resource or file name); the front
// end resolves it to pixels.
#include "platform/forms/control.h"

namespace forms {

class PictureHolder : public Control {
public:
    const std::string& picture() const { return picture_; }
    void setPicture(std::string name) { assign(picture_, std::move(name), Property::Picture); }
    bool stretch() const { return stretch_; }
    void setStretch(bool on) { stretch_ = on; }

protected:
    using Control::Control;

private:
    std::string picture_;
    bool stretch_ = false;
};

class Image : public PictureHolder {
public:
    Image(Form& form, std::string name, int index = -1) : PictureHolder(form, ControlKind::Image, std::move(name), index) {}
};

class PictureBox : public PictureHolder {
public:
    PictureBox(Form& form, std::string name, int index = -1)
        : PictureHolder(form, ControlKind::PictureBox, std::move(name), index) {}
    bool isContainer() const override { return true; }
};

}  // namespace forms
