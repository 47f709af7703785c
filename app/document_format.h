#pragma once

// The Kestrova document (".kestrova"): a small versioned JSON file with the six input
// field texts, the command whose result the window showed last, and optionally the place
// of the local circumstances. Reading takes the file's bytes and either gives the
// document or says, in words, why it is not one. Qt Core only (its JSON parser).

#include <array>
#include <cstddef>
#include <optional>
#include <string>

// The format version this program writes, and the newest it reads.
inline constexpr int kDocumentVersion = 1;
// A document is a few hundred bytes; anything much larger is not one.
inline constexpr std::size_t kMaxDocumentBytes = 64 * 1024;
// The file name extension, without the dot.
inline constexpr const char* kDocumentExtension = "kestrova";

// The command whose result the window showed last; an open document runs it again.
enum class ShownCommand { None, Snapshot, Contacts, Map };

// A place on the Earth.
struct DocumentPlace {
    std::string name;    // UTF-8
    double lat = 0.0;    // degrees, geodetic, north positive, -90..90
    double lon = 0.0;    // degrees, east positive, -180..180
    double height = 0.0; // metres above sea level, -500..10000
};

// The input fields in panel order: day, month, year, hour, minute, second.
inline constexpr int kDocumentFieldCount = 6;
struct DocumentFieldFormat {
    const char* key;   // the field's key in the file
    int maxCharacters; // what the field accepts (UTF-16 code units, as the field counts)
};
inline constexpr std::array<DocumentFieldFormat, kDocumentFieldCount> kDocumentFields = {{
    {"day", 2},
    {"month", 2},
    {"year", 5},
    {"hour", 2},
    {"minute", 2},
    {"second", 4},
}};

struct KestrovaDocument {
    std::array<std::string, kDocumentFieldCount> fields; // UTF-8, panel order
    ShownCommand shown = ShownCommand::None;
    std::optional<DocumentPlace> place;
};

enum class DocumentErrorKind {
    NotADocument, // some other file (no Kestrova marker)
    NewerVersion, // a Kestrova document of a format version this program does not know
    Damaged,      // a Kestrova document that is cut short or has wrong values
};

struct DocumentError {
    DocumentErrorKind kind = DocumentErrorKind::Damaged;
    std::string reason; // a phrase for "Cannot open FILE: <reason>."
};

// Either a document or the error; exactly one is meaningful.
struct DocumentReadResult {
    std::optional<KestrovaDocument> document;
    DocumentError error;
};

// Reads a document from a file's bytes. Never throws; any byte sequence gives either a
// document whose every value is within its range or an error.
DocumentReadResult ReadDocument(const std::string& bytes);

// The file's bytes for a document (UTF-8 JSON, ending with a newline).
std::string WriteDocument(const KestrovaDocument& document);

// The key of a shown command in the file ("none", "snapshot", "contacts", "map").
const char* ShownCommandKey(ShownCommand shown);
