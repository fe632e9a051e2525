#pragma once
// A document the control is writing page by page (a scan-to-PDF document):
// termination finishes it, so that a control destroyed with a document open
// leaves a complete file rather than a lost one.
namespace scanvelt {

class OpenDocument {
public:
    virtual ~OpenDocument() = default;
    // Lays out and closes the document; must not throw.
    virtual void Finish() noexcept = 0;
};

}  // namespace scanvelt
