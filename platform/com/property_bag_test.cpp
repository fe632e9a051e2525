#include "platform/com/property_bag.h"

#include <gtest/gtest.h>

#include "platform/com/bstr.h"
#include "platform/com/variant.h"

namespace com {
namespace {

TEST(MemoryPropertyBag, KeepsWhatIsWrittenAndConvertsOnRead) {
    MemoryPropertyBag* bag = MemoryPropertyBag::Create();
    VARIANT zoom = MakeI4(150);
    ASSERT_EQ(bag->Write(u"Zoom", &zoom), S_OK);
    VARIANT read;
    VariantInit(&read);
    ASSERT_EQ(bag->Read(u"zoom", &read, nullptr), S_OK);
    EXPECT_EQ(read.vt, VT_I4);
    EXPECT_EQ(read.lVal, 150);
    VARIANT asText;
    VariantInit(&asText);
    asText.vt = VT_BSTR;
    ASSERT_EQ(bag->Read(u"ZOOM", &asText, nullptr), S_OK);
    EXPECT_EQ(BstrView(asText.bstrVal), u"150");
    VariantClear(&asText);
    VARIANT missing;
    VariantInit(&missing);
    EXPECT_EQ(bag->Read(u"Silent", &missing, nullptr), E_INVALIDARG);
    EXPECT_EQ(missing.vt, VT_EMPTY);
    VARIANT text = MakeBstr(u"x");
    bag->Write(u"Zoom", &text);
    VariantClear(&text);
    EXPECT_EQ(bag->size(), 1u);
    bag->Release();
}

}  // namespace
}  // namespace com
