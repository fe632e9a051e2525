#pragma once
// A print system for the viewer's tests that keeps every document it gets:
// its name, printer and settings, and per page the sheet's size and the dark
// pixels on it (count and bounding box); the print dialog answers as told.
#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/print/print_system.h"
#include "platform/print/raster_print_job.h"

namespace scanvelt::testing {

class RecordingPrintSystem : public print::PrintSystem {
public:
    struct Page {
        int32_t width = 0, height = 0;   // the sheet in device pixels
        int64_t dark = 0;                // pixels whose green is below half
        int32_t left = -1, top = -1, right = -1, bottom = -1;  // the dark pixels' bounds, inclusive
    };
    struct Document {
        std::string name;
        std::string printer;
        print::PrinterSettings settings;
        std::vector<int64_t> darkPixels;  // per page
        std::vector<Page> pages;
    };

    std::vector<print::PrinterInfo> Printers() override { return printers; }
    print::PrinterSettings DefaultSettings(const std::string& deviceName) override {
        print::PrinterSettings s;
        s.deviceName = deviceName;
        return s;
    }
    print::DeviceGeometry Geometry(const print::PrinterSettings&) override { return geometry; }
    std::unique_ptr<print::PrintJob> StartDoc(const print::PrinterSettings& settings,
                                              const std::string& documentName) override {
        documents.push_back({documentName, settings.deviceName, settings, {}, {}});
        return std::make_unique<Job>(*this, settings, Geometry(settings));
    }
    std::optional<print::PrintDialogChoice> ShowPrintDialog(const print::PrintDialogRequest& request,
                                                            const print::PrinterSettings& current) override {
        dialogOwners.push_back(request.ownerWindow);
        if (!acceptDialog) return std::nullopt;
        print::PrintDialogChoice choice;
        choice.settings = current;
        choice.fromPage = request.fromPage;
        choice.toPage = request.toPage;
        return choice;
    }

    std::vector<print::PrinterInfo> printers{{"Office Laser", print::PrinterState::Idle, true},
                                             {"Archive", print::PrinterState::Idle, false}};
    print::DeviceGeometry geometry{50, 50, 0, 0};
    std::vector<Document> documents;
    std::vector<uint32_t> dialogOwners;
    bool acceptDialog = true;

private:
    class Job : public print::RasterPrintJob {
    public:
        Job(RecordingPrintSystem& owner, const print::PrinterSettings& s, const print::DeviceGeometry& g)
            : RasterPrintJob(s, g), owner_(owner) {}

    protected:
        bool EmitPage(const win::GdiBitmap& page, int32_t, int32_t, int32_t, int32_t) override {
            Page seen{page.width, page.height};
            for (int32_t y = 0; y < page.height; ++y) {
                const auto* row = page.row(y);
                for (int32_t x = 0; x < page.width; ++x) {
                    if (row[x * 4 + 1] >= 128) continue;
                    ++seen.dark;
                    seen.left = seen.left < 0 ? x : std::min(seen.left, x);
                    seen.top = seen.top < 0 ? y : std::min(seen.top, y);
                    seen.right = std::max(seen.right, x);
                    seen.bottom = std::max(seen.bottom, y);
                }
            }
            owner_.documents.back().darkPixels.push_back(seen.dark);
            owner_.documents.back().pages.push_back(seen);
            return true;
        }
        bool Finish() override { return true; }

    private:
        RecordingPrintSystem& owner_;
    };
};

}  // namespace scanvelt::testing
