// The PDF output members of _Twain bound to their dispatch IDs.
#include "imaging/twain/pdf_ocr_members.h"
#include "imaging/twain/pdf_output_members.h"
#include "imaging/twain/member_binder.h"
#include "imaging/twain/twain_object.h"
#include "imaging/typelib/scanvelt_typelib.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {
namespace {

using namespace com;

// Members by name, arguments as UTF-8: the binder's look-ups.
const auto idOf = &MemberBinder::IdOf;

const auto utf8 = &Utf8Argument;

// sFilePath, sTitle, sAuthor, sSubject, sKeywords, sCreator, then (when
// `secured`) nPdfEncryption, nPDFRight, sUserpassWord, sOwnerPassword.
PdfDocumentRequest RequestEx(const BoundArguments& a, bool secured) {
    PdfDocumentRequest request;
    request.FilePath = utf8(a, 0);
    request.Title = utf8(a, 1);
    request.Author = utf8(a, 2);
    request.Subject = utf8(a, 3);
    request.Keywords = utf8(a, 4);
    request.Creator = utf8(a, 5);
    if (secured) {
        request.Encryption = a.i4(6);
        request.Rights = a.i4(7);
        request.UserPassword = utf8(a, 8);
        request.OwnerPassword = utf8(a, 9);
    }
    return request;
}

// sFilePath, sTitle, sCreator, sAuthor, sProducer (not used).
PdfDocumentRequest RequestShort(const BoundArguments& a) {
    return ShortFormRequest(utf8(a, 0), utf8(a, 1), utf8(a, 2), utf8(a, 3));
}

// nDictionary, sDictionaryPath, sCharWhiteList from argument `first` on.
OcrRequest Recognition(const BoundArguments& a, size_t first) {
    return {a.i4(first), utf8(a, first + 1), utf8(a, first + 2)};
}

// sFilePath, then (after the recognition's three) the Ex form's Info and security.
PdfDocumentRequest RequestOcrEx(const BoundArguments& a) {
    PdfDocumentRequest request;
    request.FilePath = utf8(a, 0);
    request.Title = utf8(a, 4);
    request.Author = utf8(a, 5);
    request.Subject = utf8(a, 6);
    request.Keywords = utf8(a, 7);
    request.Creator = utf8(a, 8);
    request.Encryption = a.i4(9);
    request.Rights = a.i4(10);
    request.UserPassword = utf8(a, 11);
    request.OwnerPassword = utf8(a, 12);
    return request;
}

}  // namespace

void TwainObject::bindPdfMembers() {
    Bind(idOf("SaveAsPDFOCR"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        // sFilePath, the recognition, sTitle, sCreator, sAuthor, sProducer (not used).
        result = MakeBstrUtf8(SaveAsPDFOCREx(control_, Recognition(a, 1),
                                             ShortFormRequest(utf8(a, 0), utf8(a, 4), utf8(a, 5), utf8(a, 6))));
        return S_OK;
    });
    Bind(idOf("SaveAsPDFOCREx"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeBstrUtf8(SaveAsPDFOCREx(control_, Recognition(a, 1), RequestOcrEx(a)));
        return S_OK;
    });
    Bind(idOf("TwainPdfOCRStart"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(TwainPdfOCRStartEx(control_, RequestShort(a)));
        return S_OK;
    });
    Bind(idOf("TwainPdfOCRStartEx"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(TwainPdfOCRStartEx(control_, RequestEx(a, true)));
        return S_OK;
    });
    Bind(idOf("TwainAddMorvalenImageToPdfOCR"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeBstrUtf8(TwainAddMorvalenImageToPdfOCR(control_, a.i4(0), Recognition(a, 1)));
        return S_OK;
    });
    Bind(idOf("TwainPdfOCRStop"), [this](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(TwainPdfOCRStop(control_));
        return S_OK;
    });
    Bind(idOf("SaveAsPDF"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeBool(SaveAsPDFEx(control_, RequestShort(a)));
        return S_OK;
    });
    Bind(idOf("SaveAsPDFA"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeBool(SaveAsPDFAEx(control_, RequestShort(a)));
        return S_OK;
    });
    Bind(idOf("SaveAsPDFEx"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeBool(SaveAsPDFEx(control_, RequestEx(a, true)));
        return S_OK;
    });
    Bind(idOf("SaveAsPDFAEx"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeBool(SaveAsPDFAEx(control_, RequestEx(a, false)));
        return S_OK;
    });
    Bind(idOf("PdfCreateRights"), [](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(PdfCreateRights(a.boolean(0), a.boolean(1), a.boolean(2), a.boolean(3), a.boolean(4),
                                        a.boolean(5), a.boolean(6), a.boolean(7)));
        return S_OK;
    });
    Bind(idOf("TwainPdfStart"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(TwainPdfStartEx(control_, RequestShort(a)));
        return S_OK;
    });
    Bind(idOf("TwainPdfStartEx"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(TwainPdfStartEx(control_, RequestEx(a, true)));
        return S_OK;
    });
    Bind(idOf("TwainAddMorvalenImageToPdf"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(TwainAddMorvalenImageToPdf(control_, a.i4(0)));
        return S_OK;
    });
    Bind(idOf("TwainPdfStop"), [this](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(TwainPdfStop(control_));
        return S_OK;
    });
}

}  // namespace scanvelt
