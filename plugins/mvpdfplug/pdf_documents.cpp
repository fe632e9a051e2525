#include "plugins/mvpdfplug/pdf_documents.h"

namespace mvpdfplug {

Document::~Document() {
    if (page) g_object_unref(page);
    if (pdf) g_object_unref(pdf);
}

Documents& Documents::instance() {
    static Documents* documents = new Documents();  // outlives every caller
    return *documents;
}

int32_t Documents::add(std::unique_ptr<Document> document) {
    const int32_t handle = next_;
    next_ = next_ == INT32_MAX ? 1 : next_ + 1;
    open_[handle] = std::move(document);
    return handle;
}

Document* Documents::find(int32_t handle) {
    const auto it = open_.find(handle);
    return it == open_.end() ? nullptr : it->second.get();
}

bool Documents::close(int32_t handle) { return open_.erase(handle) != 0; }

}  // namespace mvpdfplug
