// Tests of libscanvelt.so as a host meets it: the file, its exports and
// resources, registration, and objects created by class ID.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "imaging/typelib/resource_bundle.h"
#include "imaging/typelib/scanvelt_typelib.h"
#include "platform/com/class_objects.h"
#include "platform/com/registry.h"
#include "platform/com/server_registration.h"
#include "platform/com/testing/private_registry.h"
#include "platform/com/typelib_binary.h"
#include "platform/com/variant.h"

namespace scanvelt {
namespace {

using namespace com;

std::string run(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

TEST(ServerLibrary, ExportsExactlyTheFourEntryPoints) {
    std::string listing = run(std::string("nm -D --defined-only ") + SCANVELT_LIBRARY_PATH + " 2>&1");
    std::set<std::string> names;
    size_t start = 0;
    while (start < listing.size()) {
        size_t end = listing.find('\n', start);
        std::string line = listing.substr(start, end - start);
        start = end == std::string::npos ? listing.size() : end + 1;
        size_t space = line.rfind(' ');
        if (!line.empty() && space != std::string::npos) names.insert(line.substr(space + 1));
    }
    EXPECT_EQ(names, (std::set<std::string>{"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer", "DllUnregisterServer"}))
        << listing;
}

TEST(ServerLibrary, CarriesTheTypeLibraryAndToolboxBitmaps) {
    win::testing::ScratchFolder folder;
    std::string dump = folder.file("resources.bin");
    run(std::string("objcopy -O binary --only-section=") + typelib::kResourceSection + " " + SCANVELT_LIBRARY_PATH + " " + dump);
    std::ifstream file(dump, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    auto resources = typelib::ReadResourceBundle(bytes);
    ASSERT_TRUE(resources) << "no resource section in the library (" << bytes.size() << " bytes)";
    EXPECT_EQ(*resources, typelib::ScanveltResources());
    const typelib::Resource& tlb = resources->front();
    ASSERT_EQ(tlb.kind, typelib::ResourceKind::TypeLib);
    std::string error;
    auto model = ReadTypeLibImage(tlb.data, &error);
    ASSERT_TRUE(model) << error;
    EXPECT_TRUE(*model == typelib::ScanveltTypeLib());
    std::set<uint32_t> bitmaps;
    for (const auto& r : *resources) {
        if (r.kind == typelib::ResourceKind::Bitmap) bitmaps.insert(r.number);
    }
    EXPECT_EQ(bitmaps, (std::set<uint32_t>{30000, 30001}));
}

class RegisteredServer : public ::testing::Test {
protected:
    RegisteredServer() { EXPECT_EQ(CallServerRegistration(SCANVELT_LIBRARY_PATH, false), S_OK); }
    com::testing::PrivateRegistry registry;
};

TEST_F(RegisteredServer, RegistrationWritesTheClassesAndTheTypeLibrary) {
    Registry r = registry.load();
    for (const char* clsid : {"{06E482ED-A0CF-41AD-A6CE-0C2C7961D7CA}", "{F4D3F1FC-A6AB-41E3-8A76-0EEE16CE2BE4}"}) {
        const std::string key = std::string("CLSID\\") + clsid;
        auto path = r.GetValue(key + "\\InprocServer32");
        ASSERT_TRUE(path) << clsid;
        EXPECT_NE(path->find("libscanvelt.so"), std::string::npos);
        EXPECT_EQ(r.GetValue(key + "\\InprocServer32", "ThreadingModel"), "Apartment");
        EXPECT_EQ(r.GetValue(key + "\\TypeLib"), "{730F43B9-5CFC-4D83-A779-D7ED538F2AE8}");
        EXPECT_TRUE(r.HasKey(key + "\\Control"));
    }
    EXPECT_EQ(r.GetValue("Scanvelt.Twain\\CLSID"), "{06E482ED-A0CF-41AD-A6CE-0C2C7961D7CA}");
    EXPECT_EQ(r.GetValue("Scanvelt.MvViewer\\CLSID"), "{F4D3F1FC-A6AB-41E3-8A76-0EEE16CE2BE4}");
    EXPECT_NE(r.GetValue("CLSID\\{06E482ED-A0CF-41AD-A6CE-0C2C7961D7CA}\\ToolboxBitmap32")->find(", 30000"), std::string::npos);
    EXPECT_NE(r.GetValue("CLSID\\{F4D3F1FC-A6AB-41E3-8A76-0EEE16CE2BE4}\\ToolboxBitmap32")->find(", 30001"), std::string::npos);
    EXPECT_EQ(r.GetValue("TypeLib\\{730F43B9-5CFC-4D83-A779-D7ED538F2AE8}\\1.a"), "Scanvelt - TWAIN ActiveX");
    EXPECT_FALSE(r.HasKey("CLSID\\{17DAEECC-41E0-4BEA-B940-DC2B7D54FBF9}"));  // dummy
}

TEST_F(RegisteredServer, UnregistrationRemovesExactlyItsEntries) {
    ASSERT_EQ(CallServerRegistration(SCANVELT_LIBRARY_PATH, true), S_OK);
    ASSERT_EQ(UpdateRegistry(registry.path(), [](Registry& r) { r.SetValue("Other.Thing\\CLSID", "", "{1}"); }), S_OK);
    const std::string before = registry.load().Serialize();
    ASSERT_EQ(CallServerRegistration(SCANVELT_LIBRARY_PATH, false), S_OK);
    ASSERT_EQ(CallServerRegistration(SCANVELT_LIBRARY_PATH, true), S_OK);
    EXPECT_EQ(registry.load().Serialize(), before);
}

TEST_F(RegisteredServer, CreatesTheControlsByClassIdAndProgId) {
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(u"Scanvelt.Twain", &clsid), S_OK);
    IDispatch* twain = nullptr;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, IID_IDispatch, reinterpret_cast<void**>(&twain)), S_OK);
    for (const auto& iid : typelib::TwainInterfaceIds()) {
        IUnknown* face = nullptr;
        EXPECT_EQ(twain->QueryInterface(iid, reinterpret_cast<void**>(&face)), S_OK);
        if (face) face->Release();
    }
    Variant result;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    ASSERT_EQ(twain->Invoke(typelib::kDispidGetVersion, IID_IUnknown, 0, DISPATCH_METHOD, &none, result.get(), nullptr, nullptr), S_OK);
    EXPECT_DOUBLE_EQ(result->dblVal, 5.9901306);
    twain->Release();

    IDispatch* viewer = nullptr;
    ASSERT_EQ(CoCreateInstance(typelib::MvViewerClassId(), nullptr, typelib::MvViewerInterfaceIds()[4],
                               reinterpret_cast<void**>(&viewer)),
              S_OK);
    viewer->Release();

    IUnknown* dummy = nullptr;
    EXPECT_EQ(CoCreateInstance(typelib::DummyClassId(), nullptr, IID_IUnknown, reinterpret_cast<void**>(&dummy)),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(dummy, nullptr);
}

TEST(ServerLibrary, DummyHasNoClassFactoryEvenWhenAsked) {
    void* library = ::dlopen(SCANVELT_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr);
    auto getClassObject =
        reinterpret_cast<HRESULT (*)(const CLSID*, const IID*, void**)>(::dlsym(library, "DllGetClassObject"));
    void* factory = reinterpret_cast<void*>(1);
    EXPECT_EQ(getClassObject(&typelib::DummyClassId(), &IID_IClassFactory, &factory), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(factory, nullptr);
    EXPECT_EQ(getClassObject(&typelib::TwainClassId(), &IID_IClassFactory, nullptr), E_POINTER);
}

}  // namespace
}  // namespace scanvelt
