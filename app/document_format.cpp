#include "app/document_format.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QString>

#include <cmath>
#include <cstdlib>

namespace {

constexpr const char* kFormatKey = "format";
constexpr const char* kFormatName = "kestrova-document";
constexpr const char* kVersionKey = "version";
constexpr const char* kFieldsKey = "fields";
constexpr const char* kShownKey = "shown";
constexpr const char* kPlaceKey = "place";
constexpr int kMaxPlaceNameCharacters = 200;

constexpr ShownCommand kShownCommands[] = {ShownCommand::None, ShownCommand::Snapshot,
                                           ShownCommand::Contacts, ShownCommand::Map};

struct Range {
    double min;
    double max;
};
constexpr Range kLatRange{-90.0, 90.0};        // degrees
constexpr Range kLonRange{-180.0, 180.0};      // degrees
constexpr Range kHeightRange{-500.0, 10000.0}; // metres, as kestrova-cli local takes them

// The fields that must hold a number in range when they are not empty: the year
// within the years the program computes for, and the time of day.
struct FieldRange {
    std::size_t field; // index into kDocumentFields
    const char* what;
    Range range;
    bool whole;
    bool below; // the value must stay below range.max
};
constexpr FieldRange kFieldRanges[] = {
    {2, "a year from -1999 to 9999", {-1999.0, 9999.0}, true, false},
    {3, "an hour from 0 to 23", {0.0, 23.0}, true, false},
    {4, "a minute from 0 to 59", {0.0, 59.0}, true, false},
    {5, "a second from 0 to below 60", {0.0, 60.0}, false, true},
};

// Whether a field's text is a plain decimal number (sign, digits, one point) in range.
bool FieldInRange(const std::string& text, const FieldRange& r) {
    std::size_t i = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    bool digits = false, point = false;
    for (; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9')
            digits = true;
        else if (text[i] == '.' && !point && !r.whole)
            point = true;
        else
            return false;
    }
    if (!digits)
        return false;
    const double x = std::strtod(text.c_str(), nullptr);
    return x >= r.range.min && (r.below ? x < r.range.max : x <= r.range.max);
}

QString Key(const char* key) {
    return QString::fromLatin1(key);
}

DocumentReadResult Failure(DocumentErrorKind kind, std::string reason) {
    DocumentReadResult result;
    result.error = {kind, std::move(reason)};
    return result;
}

DocumentReadResult Damaged(std::string reason) {
    return Failure(DocumentErrorKind::Damaged, "it is damaged (" + std::move(reason) + ")");
}

bool HasControlCharacter(const QString& text) {
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control) {
            return true;
        }
    }
    return false;
}

// A text: a JSON string of at most maxCharacters without control characters.
std::optional<std::string> ReadText(const QJsonValue& value, int maxCharacters) {
    if (!value.isString()) {
        return std::nullopt;
    }
    const QString text = value.toString();
    if (text.size() > maxCharacters || HasControlCharacter(text)) {
        return std::nullopt;
    }
    return text.toStdString();
}

std::optional<double> ReadNumber(const QJsonValue& value, Range range) {
    if (!value.isDouble()) {
        return std::nullopt;
    }
    const double x = value.toDouble();
    if (!std::isfinite(x) || x < range.min || x > range.max) {
        return std::nullopt;
    }
    return x;
}

std::optional<DocumentPlace> ReadPlace(const QJsonObject& object, std::string& reason) {
    DocumentPlace place;
    const auto name = ReadText(object.value(Key("name")), kMaxPlaceNameCharacters);
    const auto lat = ReadNumber(object.value(Key("lat")), kLatRange);
    const auto lon = ReadNumber(object.value(Key("lon")), kLonRange);
    const auto height = ReadNumber(object.value(Key("height")), kHeightRange);
    if (!name) {
        reason = "the place has no usable name";
    } else if (!lat) {
        reason = "the place's latitude is not a number from -90 to 90";
    } else if (!lon) {
        reason = "the place's longitude is not a number from -180 to 180";
    } else if (!height) {
        reason = "the place's height is not a number of metres from -500 to 10000";
    } else {
        return DocumentPlace{*name, *lat, *lon, *height};
    }
    return std::nullopt;
}

} // namespace

const char* ShownCommandKey(ShownCommand shown) {
    switch (shown) {
    case ShownCommand::Snapshot:
        return "snapshot";
    case ShownCommand::Contacts:
        return "contacts";
    case ShownCommand::Map:
        return "map";
    case ShownCommand::None:
        break;
    }
    return "none";
}

DocumentReadResult ReadDocument(const std::string& bytes) {
    if (bytes.size() > kMaxDocumentBytes) {
        return Failure(DocumentErrorKind::NotADocument,
                       "it is too large to be a Kestrova document");
    }
    QJsonParseError parseError{};
    const QJsonDocument json = QJsonDocument::fromJson(
        QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), &parseError);
    // Whether the bytes mean to be a Kestrova document: its marker appears in them.
    const bool marked = bytes.find(kFormatName) != std::string::npos;
    if (parseError.error != QJsonParseError::NoError || !json.isObject()) {
        if (!marked) {
            return Failure(DocumentErrorKind::NotADocument, "it is not a Kestrova document");
        }
        return Damaged(parseError.error != QJsonParseError::NoError
                           ? "not readable as JSON at byte " + std::to_string(parseError.offset) +
                                 ": " + parseError.errorString().toStdString()
                           : "not a JSON object");
    }
    const QJsonObject root = json.object();
    if (root.value(Key(kFormatKey)).toString() != Key(kFormatName)) {
        return Failure(DocumentErrorKind::NotADocument, "it is not a Kestrova document");
    }

    const QJsonValue versionValue = root.value(Key(kVersionKey));
    const double version = versionValue.toDouble(-1.0);
    if (!versionValue.isDouble() || !std::isfinite(version) || version < 1.0 ||
        version != std::floor(version)) {
        return Damaged("its format version is not a whole number from 1 on");
    }
    if (version > kDocumentVersion) {
        const std::string written =
            version < 1e9 ? std::to_string(static_cast<long>(version)) : std::string("newer");
        return Failure(DocumentErrorKind::NewerVersion,
                       "it was written by a newer version of Kestrova (format version " + written +
                           "; this version reads format version " +
                           std::to_string(kDocumentVersion) + ")");
    }

    KestrovaDocument document;
    const QJsonValue fieldsValue = root.value(Key(kFieldsKey));
    if (!fieldsValue.isObject()) {
        return Damaged("it has no input fields");
    }
    const QJsonObject fields = fieldsValue.toObject();
    for (std::size_t i = 0; i < kDocumentFields.size(); ++i) {
        const DocumentFieldFormat& field = kDocumentFields[i];
        const auto text = ReadText(fields.value(Key(field.key)), field.maxCharacters);
        if (!text) {
            return Damaged(std::string("the ") + field.key + " field is not a text of at most " +
                           std::to_string(field.maxCharacters) + " characters");
        }
        document.fields[i] = *text;
    }
    for (const FieldRange& r : kFieldRanges) {
        const std::string& text = document.fields[r.field];
        if (!text.empty() && !FieldInRange(text, r)) {
            return Damaged(std::string("the ") + kDocumentFields[r.field].key + " field \"" + text +
                           "\" is not " + r.what);
        }
    }

    const QJsonValue shownValue = root.value(Key(kShownKey));
    bool shownKnown = false;
    for (const ShownCommand shown : kShownCommands) {
        if (shownValue.isString() && shownValue.toString() == Key(ShownCommandKey(shown))) {
            document.shown = shown;
            shownKnown = true;
        }
    }
    if (!shownKnown) {
        return Damaged("the command shown last is not snapshot, contacts, map or none");
    }

    const QJsonValue placeValue = root.value(Key(kPlaceKey));
    if (!placeValue.isUndefined() && !placeValue.isNull()) {
        if (!placeValue.isObject()) {
            return Damaged("the place is not an object");
        }
        std::string reason;
        document.place = ReadPlace(placeValue.toObject(), reason);
        if (!document.place) {
            return Damaged(reason);
        }
    }

    DocumentReadResult result;
    result.document = std::move(document);
    return result;
}

std::string WriteDocument(const KestrovaDocument& document) {
    QJsonObject fields;
    for (std::size_t i = 0; i < kDocumentFields.size(); ++i) {
        fields.insert(Key(kDocumentFields[i].key), QString::fromStdString(document.fields[i]));
    }
    QJsonObject root;
    root.insert(Key(kFieldsKey), fields);
    root.insert(Key(kShownKey), Key(ShownCommandKey(document.shown)));
    if (document.place) {
        const DocumentPlace& p = *document.place;
        QJsonObject place;
        place.insert(Key("name"), QString::fromStdString(p.name));
        place.insert(Key("lat"), p.lat);
        place.insert(Key("lon"), p.lon);
        place.insert(Key("height"), p.height);
        root.insert(Key(kPlaceKey), place);
    }
    // The marker and the version open the file, so that even a file cut short early is
    // known as a damaged document rather than some other file. (QJsonObject sorts its
    // keys; the two are written ahead of it by hand.)
    const std::string rest = QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
    return std::string("{\n    \"") + kFormatKey + "\": \"" + kFormatName + "\",\n    \"" +
           kVersionKey + "\": " + std::to_string(kDocumentVersion) + ",\n" + rest.substr(2);
}
