#include "platform/com/class_objects.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/com/testing/private_registry.h"

namespace com {
namespace {

constexpr CLSID kFakeClass = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};

void registerPath(const std::string& registry, const std::string& library) {
    ASSERT_EQ(UpdateRegistry(registry, [&](Registry& r) {
                  r.SetValue("CLSID\\" + win::FormatGuid(kFakeClass) + "\\InprocServer32", "", library);
              }),
              S_OK);
}

TEST(CoCreateInstance, AnUnregisteredClassIsNotRegistered) {
    testing::PrivateRegistry registry;
    IUnknown* object = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(CoCreateInstance(kFakeClass, nullptr, IID_IUnknown, reinterpret_cast<void**>(&object)), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);
}

TEST(CoCreateInstance, CreatesFromTheRegisteredLibrary) {
    testing::PrivateRegistry registry;
    ASSERT_EQ(CallServerRegistration(FAKE_SERVER_PATH, false), S_OK);
    IUnknown* object = nullptr;
    ASSERT_EQ(CoCreateInstance(kFakeClass, nullptr, IID_IUnknown, reinterpret_cast<void**>(&object)), S_OK);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->Release(), 0u);
    IUnknown* refused = nullptr;
    EXPECT_EQ(CoCreateInstance(kFakeClass, nullptr, IID_IDispatch, reinterpret_cast<void**>(&refused)), E_NOINTERFACE);
    CLSID found{};
    EXPECT_EQ(CLSIDFromProgID(u"fake.object", &found), S_OK);
    EXPECT_EQ(found, kFakeClass);
    EXPECT_EQ(CLSIDFromProgID(u"Nothing.Here", &found), CO_E_CLASSSTRING);
    ASSERT_EQ(CallServerRegistration(FAKE_SERVER_PATH, true), S_OK);
    EXPECT_EQ(CoCreateInstance(kFakeClass, nullptr, IID_IUnknown, reinterpret_cast<void**>(&object)), REGDB_E_CLASSNOTREG);
}

TEST(CoCreateInstance, AMissingOrEmptyLibraryIsAClearError) {
    testing::PrivateRegistry registry;
    IUnknown* object = nullptr;
    registerPath(registry.path(), "/nonexistent/libgone.so");
    EXPECT_EQ(CoCreateInstance(kFakeClass, nullptr, IID_IUnknown, reinterpret_cast<void**>(&object)), CO_E_DLLNOTFOUND);
    registerPath(registry.path(), NO_EXPORTS_LIBRARY_PATH);
    EXPECT_EQ(CoCreateInstance(kFakeClass, nullptr, IID_IUnknown, reinterpret_cast<void**>(&object)), CO_E_ERRORINDLL);
    std::string notElf = registry.path() + ".notalibrary";
    std::ofstream(notElf) << "text";
    registerPath(registry.path(), notElf);
    EXPECT_EQ(CoCreateInstance(kFakeClass, nullptr, IID_IUnknown, reinterpret_cast<void**>(&object)), CO_E_DLLNOTFOUND);
    EXPECT_EQ(object, nullptr);
}

TEST(CoCreateInstance, AnUnreadableRegistryIsReported) {
    testing::PrivateRegistry registry;
    std::ofstream(registry.path()) << "garbage";
    IUnknown* object = nullptr;
    EXPECT_EQ(CoCreateInstance(kFakeClass, nullptr, IID_IUnknown, reinterpret_cast<void**>(&object)), REGDB_E_READREGDB);
}

TEST(Regsvr, RegistersAndUnregistersALibrary) {
    testing::PrivateRegistry registry;
    std::string command = std::string(REGSVR_PATH) + " " + FAKE_SERVER_PATH + " >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(registry.load().GetValue("Fake.Object\\CLSID"));
    command = std::string(REGSVR_PATH) + " -u " + FAKE_SERVER_PATH + " >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_FALSE(registry.load().GetValue("Fake.Object\\CLSID"));
    command = std::string(REGSVR_PATH) + " " + NO_EXPORTS_LIBRARY_PATH + " 2>/dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
    command = std::string(REGSVR_PATH) + " 2>/dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
}

TEST(Regsvr, ADamagedRegistryIsKeptAsideAndANewOneWritten) {
    testing::PrivateRegistry registry;
    for (const std::string damaged : {std::string("garbage"), std::string("; Scanvelt class registry 1\n[cut off")}) {
        SCOPED_TRACE(damaged);
        std::ofstream(registry.path(), std::ios::binary | std::ios::trunc) << damaged;
        const std::string command = std::string(REGSVR_PATH) + " " + FAKE_SERVER_PATH + " >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0);
        EXPECT_TRUE(registry.load().GetValue("Fake.Object\\CLSID"));
        // The damaged file is beside it, whole.
        std::vector<std::filesystem::path> kept;
        for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(registry.path()).parent_path()))
            if (entry.path().filename().string().rfind("registry.damaged-", 0) == 0) kept.push_back(entry.path());
        ASSERT_EQ(kept.size(), 1u);
        std::ifstream in(kept[0], std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), damaged);
        std::filesystem::remove(kept[0]);
    }
    // A sound registry is left as it is: nothing is set aside.
    std::string keptAs = "x";
    EXPECT_EQ(SetAsideDamagedRegistry(registry.path(), &keptAs), S_OK);
    EXPECT_EQ(keptAs, "");
    EXPECT_TRUE(registry.load().GetValue("Fake.Object\\CLSID"));
}

}  // namespace
}  // namespace com
