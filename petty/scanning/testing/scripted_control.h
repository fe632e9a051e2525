#pragma once
// For tests: a control reached by IDispatch whose members are scripted. Every
// call is journalled as "Member(arg, arg)" (numbers in decimal, flags as
// True/False, texts as they are); what a member answers is the script's.
#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/com/bstr.h"
#include "platform/com/interfaces.h"
#include "platform/com/variant.h"

namespace petty::testing {

class ScriptedControl : public com::IDispatch {
public:
    struct Call {
        std::string member;
        std::vector<std::string> args;
    };
    // Answers a call: fills `result` (or leaves it empty) and returns the call's result code.
    using Script = std::function<com::HRESULT(const Call& call, com::VARIANT& result)>;

    explicit ScriptedControl(std::map<com::DISPID, std::string> names) : names_(std::move(names)) {}

    Script script;
    std::vector<Call> calls;

    std::vector<std::string> journal() const {
        std::vector<std::string> lines;
        for (const Call& c : calls) {
            std::string line = c.member + "(";
            for (size_t i = 0; i < c.args.size(); ++i) line += (i ? ", " : "") + c.args[i];
            lines.push_back(line + ")");
        }
        return lines;
    }
    std::vector<std::string> members() const {
        std::vector<std::string> out;
        for (const Call& c : calls) out.push_back(c.member);
        return out;
    }
    uint32_t references() const { return references_; }

    com::HRESULT QueryInterface(com::REFIID iid, void** object) override {
        if (iid != com::IID_IDispatch && iid != com::IID_IUnknown) return com::E_NOINTERFACE;
        *object = this;
        AddRef();
        return com::S_OK;
    }
    uint32_t AddRef() override { return ++references_; }
    uint32_t Release() override { return --references_; }  // the test owns the object
    com::HRESULT GetTypeInfoCount(uint32_t* count) override {
        *count = 0;
        return com::S_OK;
    }
    com::HRESULT GetTypeInfo(uint32_t, com::LCID, com::ITypeInfo**) override { return com::E_NOTIMPL; }
    com::HRESULT GetIDsOfNames(com::REFIID, com::OLECHAR**, uint32_t, com::LCID, com::DISPID*) override {
        return com::E_NOTIMPL;  // the program calls by dispatch ID only
    }
    com::HRESULT Invoke(com::DISPID id, com::REFIID, com::LCID, uint16_t, com::DISPPARAMS* params,
                        com::VARIANT* result, com::EXCEPINFO*, uint32_t*) override {
        const auto name = names_.find(id);
        if (name == names_.end()) return com::DISP_E_MEMBERNOTFOUND;
        Call call{name->second, {}};
        for (uint32_t i = params->cArgs; i-- > 0;) call.args.push_back(text(params->rgvarg[i]));
        calls.push_back(call);
        com::VARIANT answer;
        com::VariantInit(&answer);
        const com::HRESULT hr = script ? script(call, answer) : com::S_OK;
        if (result) *result = answer;
        else com::VariantClear(&answer);
        return hr;
    }

private:
    static std::string text(const com::VARIANT& v) {
        switch (v.vt) {
            case com::VT_I4: return std::to_string(v.lVal);
            case com::VT_BOOL: return v.boolVal ? "True" : "False";
            case com::VT_BSTR: return com::BstrToUtf8(v.bstrVal);
            default: return "vt" + std::to_string(v.vt);
        }
    }

    std::map<com::DISPID, std::string> names_;
    std::atomic<uint32_t> references_{1};
};

}  // namespace petty::testing
