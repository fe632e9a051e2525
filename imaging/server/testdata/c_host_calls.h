/* Calling members of one control by dispatch ID from plain C: arguments in
 * the host's order (reversed for Invoke as COM wants them), results as
 * variants, and the small readers of results the C hosts share. */
#ifndef SCANVELT_C_HOST_CALLS_H
#define SCANVELT_C_HOST_CALLS_H
#include "c_host_abi.h"

/* The control the calls go to. */
static Dispatch* calledControl = NULL;

static inline VARIANT argLong(int32_t value) {
    VARIANT v;
    memset(&v, 0, sizeof v);
    v.vt = VT_I4;
    v.u.lVal = value;
    return v;
}

static inline VARIANT argSingle(float value) {
    VARIANT v;
    memset(&v, 0, sizeof v);
    v.vt = VT_R4;
    memcpy(&v.u, &value, sizeof value);
    return v;
}

static inline VARIANT argFlag(int value) {
    VARIANT v;
    memset(&v, 0, sizeof v);
    v.vt = VT_BOOL;
    v.u.boolVal = value ? -1 : 0;
    return v;
}

static inline VARIANT argText(const char* value) {
    VARIANT v;
    memset(&v, 0, sizeof v);
    v.vt = VT_BSTR;
    v.u.bstrVal = makeBstr(value);
    return v;
}

static inline VARIANT argDouble(double value) {
    VARIANT v;
    memset(&v, 0, sizeof v);
    v.vt = VT_R8;
    v.u.dblVal = value;
    return v;
}

/* An argument passed by reference (`type` VT_I4 for an int32_t, VT_R8 for a
 * double): the member writes into *target. */
static inline VARIANT argRef(VARTYPE type, void* target) {
    VARIANT v;
    memset(&v, 0, sizeof v);
    v.vt = type | VT_BYREF;
    v.u.record.a = target;
    return v;
}

/* The member's result; text arguments are freed. With `hr` the HRESULT goes
 * there; without, a failing call counts as a failed check. */
static inline VARIANT invokeMember(int32_t id, VARIANT* arguments, uint32_t count, HRESULT* hr) {
    VARIANT reversed[16];
    for (uint32_t i = 0; i < count; ++i) reversed[i] = arguments[count - 1 - i];
    DISPPARAMS params = {reversed, NULL, count, 0};
    VARIANT result;
    memset(&result, 0, sizeof result);
    HRESULT got = calledControl->vtbl->Invoke(calledControl, id, &kIidNull, 0, 1, &params, &result, NULL, NULL);
    if (hr) *hr = got;
    else if (got != 0) {
        fprintf(stderr, "member 0x%08x failed: 0x%08x\n", (unsigned)id, (unsigned)got);
        ++failures;
    }
    for (uint32_t i = 0; i < count; ++i) {
        if (arguments[i].vt == VT_BSTR) freeBstr(arguments[i].u.bstrVal);
    }
    return result;
}

static inline int32_t callLong(int32_t id, VARIANT* arguments, uint32_t count) {
    VARIANT result = invokeMember(id, arguments, count, NULL);
    CHECK(result.vt == VT_I4);
    return result.u.lVal;
}

static inline int callBool(int32_t id, VARIANT* arguments, uint32_t count) {
    VARIANT result = invokeMember(id, arguments, count, NULL);
    CHECK(result.vt == VT_BOOL);
    CHECK(result.u.boolVal == 0 || result.u.boolVal == -1);
    return result.u.boolVal != 0;
}

static inline double callDouble(int32_t id, VARIANT* arguments, uint32_t count) {
    VARIANT result = invokeMember(id, arguments, count, NULL);
    CHECK(result.vt == VT_R8);
    return result.u.dblVal;
}

static inline float callSingle(int32_t id, VARIANT* arguments, uint32_t count) {
    VARIANT result = invokeMember(id, arguments, count, NULL);
    CHECK(result.vt == VT_R4);
    float value = 0;
    memcpy(&value, &result.u, sizeof value);
    return value;
}

/* The text result as ASCII into `out` (other characters as '?'). */
static inline const char* callText(int32_t id, VARIANT* arguments, uint32_t count, char* out, size_t size) {
    VARIANT result = invokeMember(id, arguments, count, NULL);
    CHECK(result.vt == VT_BSTR);
    size_t n = 0;
    if (result.vt == VT_BSTR && result.u.bstrVal) {
        for (const OLECHAR* c = result.u.bstrVal; *c && n + 1 < size; ++c) out[n++] = *c < 128 ? (char)*c : '?';
        freeBstr(result.u.bstrVal);
    }
    out[n] = 0;
    return out;
}

static inline void callNone(int32_t id, VARIANT* arguments, uint32_t count) { invokeMember(id, arguments, count, NULL); }

/* Members of one Long or one Boolean argument. */
static inline int32_t longWithLong(int32_t id, int32_t value) {
    VARIANT a[1] = {argLong(value)};
    return callLong(id, a, 1);
}
static inline int boolWithLong(int32_t id, int32_t value) {
    VARIANT a[1] = {argLong(value)};
    return callBool(id, a, 1);
}
static inline int boolWithFlag(int32_t id, int value) {
    VARIANT a[1] = {argFlag(value)};
    return callBool(id, a, 1);
}

/* Makes `control` the one the calls go to; the one they went to before. */
static inline Dispatch* callOn(Dispatch* control) {
    Dispatch* previous = calledControl;
    calledControl = control;
    return previous;
}

/* Properties of a control, which a host may set while it calls another. */
enum { kPropertyGet = 2, kPropertyPut = 4, kPropertyPutId = -3 };

static inline void putProperty(Dispatch* control, int32_t id, VARIANT value) {
    int32_t named = kPropertyPutId;
    DISPPARAMS params = {&value, &named, 1, 1};
    CHECK(control->vtbl->Invoke(control, id, &kIidNull, 0, kPropertyPut, &params, NULL, NULL, NULL) == 0);
}

static inline int32_t getLongProperty(Dispatch* control, int32_t id) {
    DISPPARAMS params = {NULL, NULL, 0, 0};
    VARIANT result;
    memset(&result, 0, sizeof result);
    CHECK(control->vtbl->Invoke(control, id, &kIidNull, 0, kPropertyGet, &params, &result, NULL, NULL) == 0);
    CHECK(result.vt == VT_I4);
    return result.u.lVal;
}

static inline int32_t lastStatus(void) { return callLong(kDispidGetStat, NULL, 0); }

/* The dispatch ID of a member found by its name, as a late-binding host finds
 * it; -1 when the control knows no such name. */
static inline int32_t memberId(const char* name) {
    BSTR text = makeBstr(name);
    int32_t id = -1;
    const HRESULT hr = calledControl->vtbl->GetIDsOfNames(calledControl, &kIidNull, &text, 1, 0x409, &id);
    freeBstr(text);
    return hr == 0 ? id : -1;
}

#endif
