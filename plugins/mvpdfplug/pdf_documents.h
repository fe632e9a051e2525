#pragma once
// The plug-in's open documents: poppler's document, its selected page and
// the texts last handed out, behind handles.
#include <poppler.h>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace mvpdfplug {

struct Document {
    std::string path;
    std::string uri;                       // for opening again with a password
    std::string password;                  // the one accepted
    PopplerDocument* pdf = nullptr;        // null while a password is wanted
    PopplerPage* page = nullptr;           // the selected page
    int rotation = 0;                      // of the selected page, in degrees
    std::u16string text;                   // the last text handed out
    ~Document();
};

class Documents {
public:
    static Documents& instance();
    std::mutex& mutex() { return mutex_; }
    // A new handle for the document (never 0 and never used before).
    int32_t add(std::unique_ptr<Document> document);
    // The open document of a handle; null for 0 or a closed handle.
    Document* find(int32_t handle);
    bool close(int32_t handle);

private:
    std::mutex mutex_;
    std::map<int32_t, std::unique_ptr<Document>> open_;
    int32_t next_ = 1;
};

}  // namespace mvpdfplug
