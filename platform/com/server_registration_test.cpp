#include "platform/com/server_registration.h"

#include <gtest/gtest.h>

#include "platform/com/testing/sample_typelib.h"

namespace com {
namespace {

const std::vector<ServerClass> kClasses = {{"Widget", "Sample.Widget", true, 30000}};

TEST(ServerRegistration, WritesTheClassProgIdAndTypeLibrary) {
    Registry r;
    WriteServerEntries(r, "/opt/lib/libsample.so", testing::SampleTypeLib(), kClasses);
    const std::string clsid = "CLSID\\{0A1B2C3D-0000-4000-8000-000000000003}";
    EXPECT_EQ(r.GetValue(clsid + "\\InprocServer32"), "/opt/lib/libsample.so");
    EXPECT_EQ(r.GetValue(clsid + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(r.GetValue(clsid + "\\ProgID"), "Sample.Widget");
    EXPECT_EQ(r.GetValue(clsid + "\\TypeLib"), "{0A1B2C3D-0000-4000-8000-000000000001}");
    EXPECT_TRUE(r.HasKey(clsid + "\\Control"));
    EXPECT_EQ(r.GetValue(clsid + "\\ToolboxBitmap32"), "/opt/lib/libsample.so, 30000");
    EXPECT_EQ(r.GetValue("Sample.Widget\\CLSID"), "{0A1B2C3D-0000-4000-8000-000000000003}");
    EXPECT_EQ(r.GetValue("TypeLib\\{0A1B2C3D-0000-4000-8000-000000000001}\\1.a\\0\\win64"), "/opt/lib/libsample.so");
    EXPECT_EQ(r.GetValue("Interface\\{0A1B2C3D-0000-4000-8000-000000000002}"), "_Widget");
}

TEST(ServerRegistration, UnregistrationRemovesExactlyWhatWasWritten) {
    Registry r;
    r.SetValue("Other.Thing\\CLSID", "", "{99999999-0000-0000-0000-000000000000}");
    r.SetValue("TypeLib\\{0A1B2C3D-0000-4000-8000-000000000001}\\2.0", "", "a later version");
    const std::string before = r.Serialize();
    WriteServerEntries(r, "/opt/lib/libsample.so", testing::SampleTypeLib(), kClasses);
    RemoveServerEntries(r, testing::SampleTypeLib(), kClasses);
    EXPECT_EQ(r.Serialize(), before);
    RemoveServerEntries(r, testing::SampleTypeLib(), kClasses);  // twice is harmless
    EXPECT_EQ(r.Serialize(), before);
}

TEST(ServerRegistration, KnowsItsOwnLibraryPath) {
    EXPECT_NE(ModulePathOf(reinterpret_cast<const void*>(&ModulePathOf)).find("platform_com_test"), std::string::npos);
}

}  // namespace
}  // namespace com
