#include "platform/com/model_typelib.h"

#include <gtest/gtest.h>

#include "platform/com/bstr.h"
#include "platform/com/server_objects.h"
#include "platform/com/testing/sample_typelib.h"
#include "platform/com/variant.h"

namespace com {
namespace {

TEST(ModelTypeLib, DescribesTheLibraryAndItsEntries) {
    ITypeLib* library = nullptr;
    ASSERT_EQ(CreateModelTypeLib(testing::SampleTypeLib(), &library), S_OK);
    EXPECT_EQ(library->GetTypeInfoCount(), 5u);
    TLIBATTR* attributes = nullptr;
    ASSERT_EQ(library->GetLibAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->guid, testing::SampleTypeLib().libid);
    EXPECT_EQ(attributes->wMajorVerNum, 1);
    EXPECT_EQ(attributes->wMinorVerNum, 10);
    EXPECT_EQ(attributes->wLibFlags, LIBFLAG_FCONTROL);
    library->ReleaseTLibAttr(attributes);
    Bstr name, doc;
    ASSERT_EQ(library->GetDocumentation(-1, name.out(), doc.out(), nullptr, nullptr), S_OK);
    EXPECT_EQ(BstrView(name.get()), u"Sample");
    EXPECT_EQ(BstrView(doc.get()), u"Sample library");
    TYPEKIND kind;
    EXPECT_EQ(library->GetTypeInfoType(4, &kind), S_OK);
    EXPECT_EQ(kind, TKIND_ENUM);
    EXPECT_EQ(library->GetTypeInfoType(5, &kind), TYPE_E_ELEMENTNOTFOUND);
    library->Release();
    EXPECT_EQ(ServerCanUnloadNow(), S_OK);
}

TEST(ModelTypeInfo, GivesFunctionsWithParametersAndDefaults) {
    ITypeInfo* info = nullptr;
    ASSERT_EQ(GetModelTypeInfo(testing::SampleTypeLib(), "_Widget", &info), S_OK);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->typekind, TKIND_DISPATCH);
    EXPECT_EQ(attributes->cFuncs, 5);
    EXPECT_EQ(attributes->wTypeFlags, 0x11d0);
    info->ReleaseTypeAttr(attributes);

    FUNCDESC* f = nullptr;
    ASSERT_EQ(info->GetFuncDesc(1, &f), S_OK);
    EXPECT_EQ(f->memid, 0x60030001);
    EXPECT_EQ(f->cParams, 4);
    EXPECT_EQ(f->cParamsOpt, 2);
    EXPECT_EQ(f->elemdescFunc.tdesc.vt, VT_USERDEFINED);
    EXPECT_EQ(f->elemdescFunc.tdesc.hreftype, 4u);
    const PARAMDESC& label = f->lprgelemdescParam[2].paramdesc;
    ASSERT_TRUE(label.wParamFlags & PARAMFLAG_FHASDEFAULT);
    EXPECT_EQ(BstrView(label.pparamdescex->varDefaultValue.bstrVal), u"none");
    info->ReleaseFuncDesc(f);

    BSTR names[5] = {};
    uint32_t count = 0;
    ASSERT_EQ(info->GetNames(0x60030001, names, 5, &count), S_OK);
    ASSERT_EQ(count, 5u);
    EXPECT_EQ(BstrView(names[0]), u"SetArea");
    EXPECT_EQ(BstrView(names[4]), u"nMode");
    for (auto* n : names) SysFreeString(n);

    OLECHAR* lookup[] = {const_cast<OLECHAR*>(u"setarea"), const_cast<OLECHAR*>(u"NMODE")};
    MEMBERID ids[2];
    ASSERT_EQ(info->GetIDsOfNames(lookup, 2, ids), S_OK);
    EXPECT_EQ(ids[0], 0x60030001);
    EXPECT_EQ(ids[1], 3);
    OLECHAR* unknown[] = {const_cast<OLECHAR*>(u"Nothing")};
    EXPECT_EQ(info->GetIDsOfNames(unknown, 1, ids), DISP_E_UNKNOWNNAME);

    ITypeLib* library = nullptr;
    uint32_t index = 99;
    ASSERT_EQ(info->GetContainingTypeLib(&library, &index), S_OK);
    EXPECT_EQ(index, 0u);
    library->Release();
    info->Release();
}

TEST(ModelTypeInfo, GivesEnumerationConstantsAndAliases) {
    ITypeInfo* modes = nullptr;
    ASSERT_EQ(GetModelTypeInfo(testing::SampleTypeLib(), "Modes", &modes), S_OK);
    VARDESC* v = nullptr;
    ASSERT_EQ(modes->GetVarDesc(2, &v), S_OK);
    EXPECT_EQ(v->varkind, VAR_CONST);
    EXPECT_EQ(v->lpvarValue->lVal, -32768);
    modes->ReleaseVarDesc(v);
    modes->Release();

    ITypeInfo* alias = nullptr;
    ASSERT_EQ(GetModelTypeInfo(testing::SampleTypeLib(), "Widget___v0", &alias), S_OK);
    TYPEATTR* attributes = nullptr;
    alias->GetTypeAttr(&attributes);
    EXPECT_EQ(attributes->typekind, TKIND_ALIAS);
    EXPECT_EQ(attributes->tdescAlias.hreftype, 0u);
    alias->ReleaseTypeAttr(attributes);
    alias->Release();

    ITypeInfo* none = nullptr;
    EXPECT_EQ(GetModelTypeInfo(testing::SampleTypeLib(), "Missing", &none), TYPE_E_ELEMENTNOTFOUND);
}

}  // namespace
}  // namespace com
