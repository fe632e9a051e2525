#include "platform/com/model_typelib.h"

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/com/bstr.h"
#include "platform/com/dispatch_arguments.h"
#include "platform/com/server_objects.h"
#include "platform/com/variant.h"
#include "platform/win/text_encoding.h"

namespace com {
namespace {

template <class Interface>
class RefCounted : public Interface {
public:
    RefCounted() { ServerObjectCreated(); }
    virtual ~RefCounted() { ServerObjectDestroyed(); }
    uint32_t AddRef() override { return ++references_; }
    uint32_t Release() override {
        uint32_t left = --references_;
        if (left == 0) delete this;
        return left;
    }

private:
    std::atomic<uint32_t> references_{1};
};

class ModelTypeLib;

class ModelTypeInfo final : public RefCounted<ITypeInfo> {
public:
    ModelTypeInfo(ModelTypeLib* library, size_t index);
    ~ModelTypeInfo() override;

    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_ITypeInfo) {
            *object = static_cast<ITypeInfo*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

    HRESULT GetTypeAttr(TYPEATTR** attributes) override;
    HRESULT GetTypeComp(IUnknown** typeComp) override {
        if (typeComp) *typeComp = nullptr;
        return E_NOTIMPL;
    }
    HRESULT GetFuncDesc(uint32_t index, FUNCDESC** description) override;
    HRESULT GetVarDesc(uint32_t index, VARDESC** description) override;
    HRESULT GetNames(MEMBERID id, BSTR* names, uint32_t maxNames, uint32_t* count) override;
    HRESULT GetRefTypeOfImplType(uint32_t index, HREFTYPE* reference) override;
    HRESULT GetImplTypeFlags(uint32_t index, int32_t* flags) override;
    HRESULT GetIDsOfNames(OLECHAR** names, uint32_t count, MEMBERID* ids) override;
    HRESULT Invoke(void*, MEMBERID, uint16_t, DISPPARAMS*, VARIANT*, EXCEPINFO*, uint32_t*) override { return E_NOTIMPL; }
    HRESULT GetDocumentation(MEMBERID id, BSTR* name, BSTR* docString, uint32_t* helpContext, BSTR* helpFile) override;
    HRESULT GetDllEntry(MEMBERID, INVOKEKIND, BSTR*, BSTR*, uint16_t*) override { return TYPE_E_ELEMENTNOTFOUND; }
    HRESULT GetRefTypeInfo(HREFTYPE reference, ITypeInfo** typeInfo) override;
    HRESULT AddressOfMember(MEMBERID, INVOKEKIND, void**) override { return E_NOTIMPL; }
    HRESULT CreateInstance(IUnknown*, REFIID, void** object) override {
        if (object) *object = nullptr;
        return E_NOTIMPL;
    }
    HRESULT GetMops(MEMBERID, BSTR* mops) override {
        if (mops) *mops = nullptr;
        return S_OK;
    }
    HRESULT GetContainingTypeLib(ITypeLib** library, uint32_t* index) override;
    void ReleaseTypeAttr(TYPEATTR* attributes) override { delete attributes; }
    void ReleaseFuncDesc(FUNCDESC* description) override;
    void ReleaseVarDesc(VARDESC* description) override;

private:
    const TypeInfoModel& type() const;
    TYPEDESC typeDesc(VARTYPE vt, const std::string& typeName) const;

    struct FuncBlock {
        FUNCDESC desc{};
        std::vector<ELEMDESC> params;
        std::vector<std::unique_ptr<PARAMDESCEX>> defaults;
    };
    struct VarBlock {
        VARDESC desc{};
        VARIANT value{};
    };

    ModelTypeLib* library_;
    size_t index_;
    std::mutex mutex_;
    std::map<FUNCDESC*, std::unique_ptr<FuncBlock>> funcs_;
    std::map<VARDESC*, std::unique_ptr<VarBlock>> vars_;
};

class ModelTypeLib final : public RefCounted<ITypeLib> {
public:
    explicit ModelTypeLib(const TypeLibModel& model) : model_(model) {}
    const TypeLibModel& model() const { return model_; }

    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_ITypeLib) {
            *object = static_cast<ITypeLib*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    uint32_t GetTypeInfoCount() override { return static_cast<uint32_t>(model_.types.size()); }
    HRESULT GetTypeInfo(uint32_t index, ITypeInfo** typeInfo) override {
        if (!typeInfo) return E_INVALIDARG;
        *typeInfo = nullptr;
        if (index >= model_.types.size()) return TYPE_E_ELEMENTNOTFOUND;
        *typeInfo = new ModelTypeInfo(this, index);
        return S_OK;
    }
    HRESULT GetTypeInfoType(uint32_t index, TYPEKIND* kind) override {
        if (!kind) return E_INVALIDARG;
        if (index >= model_.types.size()) return TYPE_E_ELEMENTNOTFOUND;
        *kind = model_.types[index].kind;
        return S_OK;
    }
    HRESULT GetTypeInfoOfGuid(REFIID guid, ITypeInfo** typeInfo) override {
        if (!typeInfo) return E_INVALIDARG;
        *typeInfo = nullptr;
        for (size_t i = 0; i < model_.types.size(); ++i) {
            if (model_.types[i].guid == guid) return GetTypeInfo(static_cast<uint32_t>(i), typeInfo);
        }
        return TYPE_E_ELEMENTNOTFOUND;
    }
    HRESULT GetLibAttr(TLIBATTR** attributes) override {
        if (!attributes) return E_INVALIDARG;
        *attributes = new TLIBATTR{model_.libid, model_.lcid, SYS_WIN64, model_.major, model_.minor, model_.flags};
        return S_OK;
    }
    HRESULT GetTypeComp(IUnknown** typeComp) override {
        if (typeComp) *typeComp = nullptr;
        return E_NOTIMPL;
    }
    HRESULT GetDocumentation(int32_t index, BSTR* name, BSTR* docString, uint32_t* helpContext, BSTR* helpFile) override {
        const std::string* n = &model_.name;
        const std::string* d = &model_.doc;
        if (index >= 0) {
            if (static_cast<size_t>(index) >= model_.types.size()) return TYPE_E_ELEMENTNOTFOUND;
            n = &model_.types[static_cast<size_t>(index)].name;
            d = &model_.types[static_cast<size_t>(index)].doc;
        }
        if (name) *name = AllocBstrUtf8(*n);
        if (docString) *docString = d->empty() ? nullptr : AllocBstrUtf8(*d);
        if (helpContext) *helpContext = 0;
        if (helpFile) *helpFile = nullptr;
        return S_OK;
    }
    HRESULT IsName(OLECHAR* name, uint32_t, int32_t* found) override {
        if (!name || !found) return E_INVALIDARG;
        std::u16string_view wanted(name);
        *found = 0;
        for (const auto& type : model_.types) {
            if (NameEqualsNoCase(type.name, wanted) || FindMemberId(type, wanted) != DISPID_UNKNOWN) *found = 1;
            for (const auto& c : type.constants) {
                if (NameEqualsNoCase(c.name, wanted)) *found = 1;
            }
        }
        return S_OK;
    }
    HRESULT FindName(OLECHAR* name, uint32_t, ITypeInfo** typeInfos, MEMBERID* ids, uint16_t* found) override {
        if (!name || !typeInfos || !ids || !found) return E_INVALIDARG;
        std::u16string_view wanted(name);
        uint16_t room = *found;
        uint16_t n = 0;
        for (size_t i = 0; i < model_.types.size() && n < room; ++i) {
            const auto& type = model_.types[i];
            MEMBERID id = MEMBERID_NIL;
            bool hit = NameEqualsNoCase(type.name, wanted);
            if (!hit) {
                id = FindMemberId(type, wanted);
                hit = id != DISPID_UNKNOWN;
            }
            for (size_t c = 0; !hit && c < type.constants.size(); ++c) {
                if (NameEqualsNoCase(type.constants[c].name, wanted)) {
                    hit = true;
                    id = static_cast<MEMBERID>(0x40000000 + c);
                }
            }
            if (!hit) continue;
            typeInfos[n] = new ModelTypeInfo(this, i);
            ids[n] = id;
            ++n;
        }
        *found = n;
        return S_OK;
    }
    void ReleaseTLibAttr(TLIBATTR* attributes) override { delete attributes; }

private:
    const TypeLibModel& model_;
};

ModelTypeInfo::ModelTypeInfo(ModelTypeLib* library, size_t index) : library_(library), index_(index) {
    library_->AddRef();
}

ModelTypeInfo::~ModelTypeInfo() { library_->Release(); }

const TypeInfoModel& ModelTypeInfo::type() const { return library_->model().types[index_]; }

TYPEDESC ModelTypeInfo::typeDesc(VARTYPE vt, const std::string& typeName) const {
    TYPEDESC d{};
    d.vt = vt == VT_EMPTY ? VARTYPE{VT_VOID} : vt;
    if (vt == VT_USERDEFINED) {
        int index = FindTypeIndex(library_->model(), typeName);
        d.hreftype = index < 0 ? kHrefIDispatch : static_cast<HREFTYPE>(index);
    }
    return d;
}

HRESULT ModelTypeInfo::GetTypeAttr(TYPEATTR** attributes) {
    if (!attributes) return E_INVALIDARG;
    const auto& t = type();
    auto* a = new TYPEATTR{};
    a->guid = t.guid;
    a->lcid = library_->model().lcid;
    a->memidConstructor = MEMBERID_NIL;
    a->memidDestructor = MEMBERID_NIL;
    a->typekind = t.kind;
    a->cFuncs = static_cast<uint16_t>(t.members.size());
    a->cVars = static_cast<uint16_t>(t.constants.size());
    a->cImplTypes = static_cast<uint16_t>(t.implTypes.size());
    a->cbSizeVft = t.kind == TKIND_DISPATCH || t.kind == TKIND_INTERFACE ? 7 * sizeof(void*) : 0;
    a->cbAlignment = 8;
    a->cbSizeInstance = t.kind == TKIND_ENUM ? 4 : sizeof(void*);
    a->wTypeFlags = t.flags;
    a->wMajorVerNum = library_->model().major;
    a->wMinorVerNum = library_->model().minor;
    if (t.kind == TKIND_ALIAS) {
        a->tdescAlias.vt = VT_USERDEFINED;
        int index = FindTypeIndex(library_->model(), t.aliasOf);
        a->tdescAlias.hreftype = static_cast<HREFTYPE>(index < 0 ? 0 : index);
    }
    *attributes = a;
    return S_OK;
}

HRESULT ModelTypeInfo::GetFuncDesc(uint32_t index, FUNCDESC** description) {
    if (!description) return E_INVALIDARG;
    const auto& t = type();
    if (index >= t.members.size()) return TYPE_E_ELEMENTNOTFOUND;
    const MemberModel& m = t.members[index];
    auto block = std::make_unique<FuncBlock>();
    FUNCDESC& d = block->desc;
    d.memid = m.id;
    d.funckind = FUNC_DISPATCH;
    d.invkind = m.kind;
    d.callconv = CC_STDCALL;
    d.cParams = static_cast<int16_t>(m.params.size());
    d.oVft = static_cast<int16_t>((7 + index) * sizeof(void*));
    d.elemdescFunc.tdesc = typeDesc(m.result, m.resultTypeName);
    block->params.resize(m.params.size());
    for (size_t i = 0; i < m.params.size(); ++i) {
        const ParamModel& p = m.params[i];
        ELEMDESC& e = block->params[i];
        e.tdesc = typeDesc(p.type, p.typeName);
        e.paramdesc.wParamFlags = PARAMFLAG_FIN | (p.optional || p.defaultValue ? PARAMFLAG_FOPT : 0);
        if (p.optional || p.defaultValue) ++d.cParamsOpt;
        if (p.defaultValue) {
            auto ex = std::make_unique<PARAMDESCEX>();
            ex->cBytes = sizeof(PARAMDESCEX);
            const auto& v = *p.defaultValue;
            if (auto* i4 = std::get_if<int32_t>(&v)) ex->varDefaultValue = MakeI4(*i4);
            else if (auto* r8 = std::get_if<double>(&v)) ex->varDefaultValue = MakeR8(*r8);
            else if (auto* b = std::get_if<bool>(&v)) ex->varDefaultValue = MakeBool(*b);
            else ex->varDefaultValue = MakeBstrUtf8(std::get<std::string>(v));
            e.paramdesc.wParamFlags |= PARAMFLAG_FHASDEFAULT;
            e.paramdesc.pparamdescex = ex.get();
            block->defaults.push_back(std::move(ex));
        }
    }
    // Hosts count optional parameters only when they are all at the end.
    d.lprgelemdescParam = block->params.empty() ? nullptr : block->params.data();
    std::lock_guard lock(mutex_);
    *description = &block->desc;
    funcs_[&block->desc] = std::move(block);
    return S_OK;
}

void ModelTypeInfo::ReleaseFuncDesc(FUNCDESC* description) {
    std::unique_ptr<FuncBlock> block;
    {
        std::lock_guard lock(mutex_);
        auto it = funcs_.find(description);
        if (it == funcs_.end()) return;
        block = std::move(it->second);
        funcs_.erase(it);
    }
    for (auto& ex : block->defaults) VariantClear(&ex->varDefaultValue);
}

HRESULT ModelTypeInfo::GetVarDesc(uint32_t index, VARDESC** description) {
    if (!description) return E_INVALIDARG;
    const auto& t = type();
    if (index >= t.constants.size()) return TYPE_E_ELEMENTNOTFOUND;
    auto block = std::make_unique<VarBlock>();
    block->value = MakeI4(t.constants[index].value);
    block->desc.memid = static_cast<MEMBERID>(0x40000000 + index);
    block->desc.lpvarValue = &block->value;
    block->desc.elemdescVar.tdesc.vt = VT_I4;
    block->desc.varkind = VAR_CONST;
    std::lock_guard lock(mutex_);
    *description = &block->desc;
    vars_[&block->desc] = std::move(block);
    return S_OK;
}

void ModelTypeInfo::ReleaseVarDesc(VARDESC* description) {
    std::lock_guard lock(mutex_);
    vars_.erase(description);
}

HRESULT ModelTypeInfo::GetNames(MEMBERID id, BSTR* names, uint32_t maxNames, uint32_t* count) {
    if (!names || !count) return E_INVALIDARG;
    *count = 0;
    const auto& t = type();
    for (const auto& m : t.members) {
        if (m.id != id) continue;
        if (maxNames > 0) names[(*count)++] = AllocBstrUtf8(m.name);
        for (const auto& p : m.params) {
            if (*count >= maxNames) break;
            names[(*count)++] = AllocBstrUtf8(p.name);
        }
        return S_OK;
    }
    for (size_t c = 0; c < t.constants.size(); ++c) {
        if (static_cast<MEMBERID>(0x40000000 + c) == id && maxNames > 0) {
            names[(*count)++] = AllocBstrUtf8(t.constants[c].name);
            return S_OK;
        }
    }
    return TYPE_E_ELEMENTNOTFOUND;
}

HRESULT ModelTypeInfo::GetRefTypeOfImplType(uint32_t index, HREFTYPE* reference) {
    if (!reference) return E_INVALIDARG;
    const auto& t = type();
    if (index >= t.implTypes.size()) return TYPE_E_ELEMENTNOTFOUND;
    int found = FindTypeIndex(library_->model(), t.implTypes[index].name);
    *reference = found < 0 ? kHrefIDispatch : static_cast<HREFTYPE>(found);
    return S_OK;
}

HRESULT ModelTypeInfo::GetImplTypeFlags(uint32_t index, int32_t* flags) {
    if (!flags) return E_INVALIDARG;
    const auto& t = type();
    if (index >= t.implTypes.size()) return TYPE_E_ELEMENTNOTFOUND;
    *flags = t.implTypes[index].flags;
    return S_OK;
}

HRESULT ModelTypeInfo::GetIDsOfNames(OLECHAR** names, uint32_t count, MEMBERID* ids) {
    return IdsOfNames(type(), names, count, ids);
}

HRESULT ModelTypeInfo::GetDocumentation(MEMBERID id, BSTR* name, BSTR* docString, uint32_t* helpContext, BSTR* helpFile) {
    const auto& t = type();
    const std::string* n = nullptr;
    const std::string* d = nullptr;
    if (id == MEMBERID_NIL) {
        n = &t.name;
        d = &t.doc;
    } else {
        for (const auto& m : t.members) {
            if (m.id == id) {
                n = &m.name;
                break;
            }
        }
        for (size_t c = 0; !n && c < t.constants.size(); ++c) {
            if (static_cast<MEMBERID>(0x40000000 + c) == id) n = &t.constants[c].name;
        }
        if (!n) return TYPE_E_ELEMENTNOTFOUND;
    }
    if (name) *name = AllocBstrUtf8(*n);
    if (docString) *docString = d && !d->empty() ? AllocBstrUtf8(*d) : nullptr;
    if (helpContext) *helpContext = 0;
    if (helpFile) *helpFile = nullptr;
    return S_OK;
}

HRESULT ModelTypeInfo::GetRefTypeInfo(HREFTYPE reference, ITypeInfo** typeInfo) {
    if (!typeInfo) return E_INVALIDARG;
    *typeInfo = nullptr;
    if (reference >= library_->model().types.size()) return TYPE_E_ELEMENTNOTFOUND;
    return library_->GetTypeInfo(reference, typeInfo);
}

HRESULT ModelTypeInfo::GetContainingTypeLib(ITypeLib** library, uint32_t* index) {
    if (library) {
        *library = library_;
        library_->AddRef();
    }
    if (index) *index = static_cast<uint32_t>(index_);
    return S_OK;
}

}  // namespace

HRESULT CreateModelTypeLib(const TypeLibModel& model, ITypeLib** library) {
    if (!library) return E_POINTER;
    *library = new ModelTypeLib(model);
    return S_OK;
}

HRESULT GetModelTypeInfo(const TypeLibModel& model, std::string_view name, ITypeInfo** typeInfo) {
    if (!typeInfo) return E_POINTER;
    *typeInfo = nullptr;
    int index = FindTypeIndex(model, name);
    if (index < 0) return TYPE_E_ELEMENTNOTFOUND;
    ITypeLib* library = nullptr;
    CreateModelTypeLib(model, &library);
    HRESULT hr = library->GetTypeInfo(static_cast<uint32_t>(index), typeInfo);
    library->Release();
    return hr;
}

}  // namespace com
