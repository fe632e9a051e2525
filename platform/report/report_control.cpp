#include "platform/report/report_control.h"

#include "platform/jet/database.h"
#include "platform/jet/error.h"
#include "platform/report/dispatch_ids.h"
#include "platform/report/formula.h"
#include "platform/report/report_data.h"
#include "platform/report/report_definition.h"
#include "platform/report/report_error.h"
#include "platform/report/report_layout.h"
#include "platform/report/spreadsheet_export.h"
#include "platform/vb/clock.h"
#include "platform/vb/date_text.h"
#include "platform/vb/text_compare.h"
#include "platform/win/windows_path.h"

namespace report {

namespace {

using namespace dispid;

bool isSwitch(int32_t id) { return id == 115 || (id >= 117 && id <= 121) || id == 124 || id == 125; }

[[noreturn]] void mismatch(int32_t dispId) {
    throw ReportError(ReportErrorCode::TypeMismatch, "Type mismatch for member " + std::to_string(dispId));
}

const std::string& textOf(const Arg& value, int32_t dispId) {
    if (const auto* s = std::get_if<std::string>(&value)) return *s;
    mismatch(dispId);
}

int32_t numberOf(const Arg& value, int32_t dispId) {
    if (const auto* n = std::get_if<int32_t>(&value)) return *n;
    mismatch(dispId);
}

bool flagOf(const Arg& value, int32_t dispId) {
    if (const auto* b = std::get_if<bool>(&value)) return *b;
    mismatch(dispId);
}

[[noreturn]] void noMember(int32_t dispId) {
    throw ReportError(ReportErrorCode::MemberNotFound, "The report control has no member " + std::to_string(dispId));
}

std::filesystem::path onDisk(const std::string& windowsPath) { return win::ResolveWindowsPath(windowsPath); }

ReportOutput& output() {
    ReportOutput* out = reportOutput();
    if (!out) throw ReportError(ReportErrorCode::Output, "No report window is available");
    return *out;
}

}  // namespace

std::string Call::text() const {
    std::string out = std::to_string(dispId);
    if (index) out += "[" + std::to_string(*index) + "]";
    if (kind == Kind::Invoke) return out + "()";
    out += kind == Kind::Get ? "?=" : ":=";
    if (const auto* b = std::get_if<bool>(&value)) return out + (*b ? "true" : "false");
    if (const auto* n = std::get_if<int32_t>(&value)) return out + std::to_string(*n);
    return out + "\"" + std::get<std::string>(value) + "\"";
}

std::vector<std::string> ReportControl::callTexts() const {
    std::vector<std::string> out;
    for (const Call& c : calls_) out.push_back(c.text());
    return out;
}

void ReportControl::record(Call::Kind kind, int32_t dispId, std::optional<int16_t> index, Arg value) {
    calls_.push_back(Call{kind, dispId, index, std::move(value)});
}

void ReportControl::invoke(int32_t dispId) {
    record(Call::Kind::Invoke, dispId, std::nullopt, false);
    if (dispId != kReset) noMember(dispId);
    settings_ = Settings{};
}

void ReportControl::put(int32_t dispId, Arg value) {
    record(Call::Kind::Put, dispId, std::nullopt, value);
    Settings& s = settings_;
    switch (dispId) {
        case kReportFileName: s.reportFile = textOf(value, dispId); return;
        case kWindowTitle: s.windowTitle = textOf(value, dispId); return;
        case kSelectionFormula: s.selectionFormula = textOf(value, dispId); return;
        case kConnect:
            if (s.subreport.empty())
                s.connect = textOf(value, dispId);
            else
                s.subConnects[s.subreport] = textOf(value, dispId);
            return;
        case kDestination: {
            const int32_t d = numberOf(value, dispId);
            if (d < kToWindow || d > kToFile)
                throw ReportError(ReportErrorCode::Destination, "Unknown destination " + std::to_string(d));
            s.destination = d;
            return;
        }
        case kPrintFileType: s.exportType = numberOf(value, dispId); return;
        case kSubreportToChange: {
            const std::string& name = textOf(value, dispId);
            if (!name.empty()) {
                bool known = false;
                for (const std::string& n : subreportNames()) known = known || vb::equalIgnoringCase(n, name);
                if (!known) throw ReportError(ReportErrorCode::BadIndex, "The report has no sub-report \"" + name + "\"");
            }
            s.subreport = name;
            return;
        }
        case kAction:
            if (numberOf(value, dispId) != 1)
                throw ReportError(ReportErrorCode::Destination, "Only action 1 (run) is known");
            run();
            return;
        default:
            if (!isSwitch(dispId)) noMember(dispId);
            s.switches[dispId] = flagOf(value, dispId);
    }
}

void ReportControl::putIndexed(int32_t dispId, int16_t index, Arg value) {
    record(Call::Kind::Put, dispId, index, value);
    if (dispId != kDataFiles && dispId != kFormulas) noMember(dispId);
    if (index < 0) throw ReportError(ReportErrorCode::BadIndex, "A negative index");
    (dispId == kDataFiles ? settings_.dataFiles : settings_.formulas)[index] = textOf(value, dispId);
}

Arg ReportControl::get(int32_t dispId) {
    Arg value;
    switch (dispId) {
        case kReportFileName: value = settings_.reportFile; break;
        case kWindowTitle: value = settings_.windowTitle; break;
        case kSelectionFormula: value = settings_.selectionFormula; break;
        case kSubreportToChange: value = settings_.subreport; break;
        case kSubreportCount: value = static_cast<int32_t>(subreportNames().size()); break;
        default: noMember(dispId);
    }
    record(Call::Kind::Get, dispId, std::nullopt, value);
    return value;
}

Arg ReportControl::getIndexed(int32_t dispId, int16_t index) {
    if (dispId != kSubreportName && dispId != kDataFiles && dispId != kFormulas) noMember(dispId);
    Arg value;
    if (dispId == kSubreportName) {
        const std::vector<std::string> names = subreportNames();
        if (index < 0 || static_cast<size_t>(index) >= names.size())
            throw ReportError(ReportErrorCode::BadIndex, "No sub-report " + std::to_string(index));
        value = names[static_cast<size_t>(index)];
    } else {
        const auto& map = dispId == kDataFiles ? settings_.dataFiles : settings_.formulas;
        const auto it = map.find(index);
        value = it == map.end() ? std::string() : it->second;
    }
    record(Call::Kind::Get, dispId, index, value);
    return value;
}

std::vector<std::string> ReportControl::subreportNames() const {
    std::vector<std::string> names;
    for (const Section& s : loadReportDefinition(onDisk(settings_.reportFile)).subreports) names.push_back(s.name);
    return names;
}

void ReportControl::run() {
    const Settings s = settings_;
    try {
        const ReportDefinition definition = loadReportDefinition(onDisk(s.reportFile));
        HeadingTexts heading;
        heading.printedOn = vb::formatShortDate(vb::now());
        for (const auto& [index, formula] : s.formulas) {
            const FormulaAssignment f = parseFormulaAssignment(formula);
            if (!definition.hasFormula(f.name))
                throw ReportError(ReportErrorCode::Formula, "The report has no formula field \"" + f.name + "\"");
            if (vb::equalIgnoringCase(f.name, "company")) heading.company = f.text;
            if (vb::equalIgnoringCase(f.name, "title")) heading.title = f.text;
        }
        const SqlCondition condition = translateSelectionFormula(s.selectionFormula, definition.table);
        const auto data = s.dataFiles.find(0);
        if (data == s.dataFiles.end() || data->second.empty())
            throw ReportError(ReportErrorCode::Data, "No data file is set");
        const std::filesystem::path dataFile = onDisk(data->second);

        const auto open = [&](const std::string& connect) {
            try {
                return jet::Database::open(dataFile, connect);
            } catch (const jet::Error& e) {
                throw ReportError(ReportErrorCode::Data, "Cannot open " + dataFile.string() + ": " + e.description());
            }
        };
        jet::Database db = open(s.connect);
        const ReportRows main = readSection(db, definition, definition.main, condition);
        std::vector<ReportRows> subreports;
        for (const Section& sub : definition.subreports) {
            const auto own = s.subConnects.find(sub.name);
            jet::Database subDb = own == s.subConnects.end() ? db : open(own->second);
            subreports.push_back(readSection(subDb, definition, sub, condition));
        }
        lastDocument_ = layoutReport(definition, main, subreports, heading);

        const int32_t destination = s.destination.value_or(kToWindow);
        if (destination == kToWindow) {
            output().preview(*lastDocument_, PreviewOptions{s.windowTitle, s.switches});
        } else if (destination == kToPrinter) {
            output().print(*lastDocument_, s.windowTitle.empty() ? definition.name : s.windowTitle);
        } else {
            if (s.exportType != kSpreadsheetExport)
                throw ReportError(ReportErrorCode::Destination,
                                  "Unknown export type " + std::to_string(s.exportType.value_or(0)));
            const std::filesystem::path suggested =
                dataFile.parent_path() / (onDisk(s.reportFile).stem().string() + ".xlsx");
            std::optional<std::filesystem::path> file = output().exportFile(suggested);
            if (!file) return;  // the user cancelled the export
            // A name typed without an ending still becomes a workbook the desktop opens as one.
            if (file->extension().empty()) *file += ".xlsx";
            writeSpreadsheet(lastDocument_->table, definition.name, *file);
            lastExport_ = *file;
        }
    } catch (const ReportError& e) {
        if (ReportOutput* out = reportOutput()) out->showError(e.what());
        throw;
    }
}

}  // namespace report
