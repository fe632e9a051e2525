#include "platform/forms/font.h"

#include <gmock/gmock.h>

#include <functional>

#include "platform/forms/forms.h"

namespace forms {
namespace {

using ::testing::ElementsAre;

// The font setters, each as a change of one property of the font.
struct FontChange {
    const char* name;
    std::function<void(FontProperties&)> change;
    Font expected;
};

Font font(std::string name, double size, bool bold, bool italic, bool underline) {
    return {std::move(name), size, bold, italic, underline};
}

const FontChange kChanges[] = {
    {"name", [](FontProperties& f) { f.setFontName("Arial"); }, font("Arial", 8, false, false, false)},
    {"size", [](FontProperties& f) { f.setFontSize(13.5); }, font("MS Sans Serif", 13.5, false, false, false)},
    {"bold", [](FontProperties& f) { f.setFontBold(true); }, font("MS Sans Serif", 8, true, false, false)},
    {"italic", [](FontProperties& f) { f.setFontItalic(true); }, font("MS Sans Serif", 8, false, true, false)},
    {"underline", [](FontProperties& f) { f.setFontUnderline(true); }, font("MS Sans Serif", 8, false, false, true)},
    {"whole", [](FontProperties& f) { f.setFont(font("Times New Roman", 24, true, true, false)); },
     font("Times New Roman", 24, true, true, false)},
};

TEST(FontTest, ControlsAndFormsStartWithTheLayoutFontAndTellEachChangeOnce) {
    for (const FontChange& c : kChanges) {
        SCOPED_TRACE(c.name);
        Form form("form");
        Label label{form, "label"};
        EXPECT_EQ(form.font(), Font{});
        EXPECT_EQ(label.font(), font("MS Sans Serif", 8, false, false, false));
        std::vector<Property> heard;
        form.observe([&](Property p) {
            if (p != Property::Controls) heard.push_back(p);
        });
        label.observe([&](Property p) { heard.push_back(p); });
        for (FontProperties* target : {static_cast<FontProperties*>(&form), static_cast<FontProperties*>(&label)}) {
            c.change(*target);
            c.change(*target);  // the same again: no notice
            EXPECT_EQ(target->font(), c.expected);
        }
        EXPECT_THAT(heard, ElementsAre(Property::Font, Property::Font));
    }
}

TEST(FontTest, ASizeOutsideTheRangeIsAnInvalidPropertyValue) {
    Form form("form");
    TextBox box{form, "box"};
    for (double size : {0.0, -8.0, 2160.5}) {
        EXPECT_THROW(box.setFontSize(size), Error) << size;
        EXPECT_THROW(form.setFont(font("Arial", size, false, false, false)), Error) << size;
    }
    EXPECT_EQ(box.font().size, 8);
    box.setFontSize(2160);
    EXPECT_EQ(box.font().size, 2160);
}

}  // namespace
}  // namespace forms
