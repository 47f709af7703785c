// The document reader over any bytes: it gives either a document whose values are
// within their ranges or an error, never a crash; a document it reads is written
// and read back to the same document.

#include "app/document_format.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

bool SameDocument(const KestrovaDocument& a, const KestrovaDocument& b) {
    if (a.fields != b.fields || a.shown != b.shown || a.place.has_value() != b.place.has_value())
        return false;
    if (!a.place)
        return true;
    return a.place->name == b.place->name && a.place->lat == b.place->lat &&
           a.place->lon == b.place->lon && a.place->height == b.place->height;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const DocumentReadResult read = ReadDocument(bytes);
    if (!read.document) {
        Require(!read.error.reason.empty());
        return 0;
    }
    const DocumentReadResult again = ReadDocument(WriteDocument(*read.document));
    Require(again.document.has_value());
    Require(SameDocument(*read.document, *again.document));
    return 0;
}
