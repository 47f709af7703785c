// The Kestrova document format and the file handling under it: what is written reads back,
// and every other byte sequence gives a reason instead of a document.

#include "app/document_file.h"
#include "app/document_format.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include <sys/stat.h>

namespace {

KestrovaDocument SampleDocument() {
    KestrovaDocument d;
    d.fields = {"11", "8", "1999", "10", "30", "12.5"};
    d.shown = ShownCommand::Map;
    d.place = DocumentPlace{"Zürich \"Uetliberg\"", 47.3497, 8.4917, 869.0};
    return d;
}

// A version 1 document with one member's text replaced by a JSON value.
std::string DocumentWith(const std::string& key, const std::string& json) {
    std::string fields = R"({"day": "1", "month": "2", "year": "2000", "hour": "3",)"
                         R"( "minute": "4", "second": "5"})";
    std::string shown = R"("snapshot")";
    std::string version = "1";
    std::string extra;
    if (key == "fields") {
        fields = json;
    } else if (key == "shown") {
        shown = json;
    } else if (key == "version") {
        version = json;
    } else {
        extra = ", \"" + key + "\": " + json;
    }
    return R"({"format": "kestrova-document", "version": )" + version + R"(, "fields": )" + fields +
           R"(, "shown": )" + shown + extra + "}";
}

DocumentErrorKind KindOf(const std::string& bytes) {
    const DocumentReadResult r = ReadDocument(bytes);
    EXPECT_FALSE(r.document.has_value()) << bytes;
    EXPECT_FALSE(r.error.reason.empty());
    return r.error.kind;
}

} // namespace

TEST(DocumentFormat, WhatIsWrittenReadsBack) {
    const KestrovaDocument written = SampleDocument();
    const DocumentReadResult read = ReadDocument(WriteDocument(written));
    ASSERT_TRUE(read.document.has_value()) << read.error.reason;
    EXPECT_EQ(read.document->fields, written.fields);
    EXPECT_EQ(read.document->shown, ShownCommand::Map);
    ASSERT_TRUE(read.document->place.has_value());
    EXPECT_EQ(read.document->place->name, written.place->name);
    EXPECT_DOUBLE_EQ(read.document->place->lat, 47.3497);
    EXPECT_DOUBLE_EQ(read.document->place->lon, 8.4917);
    EXPECT_DOUBLE_EQ(read.document->place->height, 869.0);

    for (const ShownCommand shown :
         {ShownCommand::None, ShownCommand::Snapshot, ShownCommand::Contacts, ShownCommand::Map}) {
        KestrovaDocument d;
        d.shown = shown;
        const DocumentReadResult r = ReadDocument(WriteDocument(d));
        ASSERT_TRUE(r.document.has_value()) << ShownCommandKey(shown);
        EXPECT_EQ(r.document->shown, shown);
        EXPECT_FALSE(r.document->place.has_value());
        EXPECT_EQ(r.document->fields, d.fields); // all empty
    }
}

TEST(DocumentFormat, WrittenFileIsVersionedJsonWithTheMarkerFirst) {
    const std::string bytes = WriteDocument(SampleDocument());
    EXPECT_EQ(bytes.rfind("{\n    \"format\": \"kestrova-document\",\n    \"version\": 1,\n", 0),
              0u)
        << bytes;
    EXPECT_EQ(bytes.back(), '\n');
    EXPECT_LT(bytes.size(), 1000u);
}

TEST(DocumentFormat, EveryTruncationIsAnError) {
    const std::string bytes = WriteDocument(SampleDocument());
    // The marker closes at byte 32: from there on a cut file is a damaged document.
    const std::size_t marked = bytes.find("kestrova-document") + 17;
    for (std::size_t n = 0; n + 1 < bytes.size(); ++n) {
        const DocumentReadResult r = ReadDocument(bytes.substr(0, n));
        ASSERT_FALSE(r.document.has_value()) << "cut at " << n;
        if (n >= marked) {
            EXPECT_EQ(r.error.kind, DocumentErrorKind::Damaged) << "cut at " << n;
        }
    }
}

TEST(DocumentFormat, OtherFilesAreNotDocuments) {
    EXPECT_EQ(KindOf(""), DocumentErrorKind::NotADocument);
    EXPECT_EQ(KindOf(std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)),
              DocumentErrorKind::NotADocument);
    EXPECT_EQ(KindOf(std::string("\0\xff\xfe\x01{\"format\"", 14)),
              DocumentErrorKind::NotADocument);
    EXPECT_EQ(KindOf(R"({"name": "some other program's settings"})"),
              DocumentErrorKind::NotADocument);
    EXPECT_EQ(KindOf(R"({"format": "kestrova", "version": 1})"), DocumentErrorKind::NotADocument);
    EXPECT_EQ(KindOf("[1, 2, 3]"), DocumentErrorKind::NotADocument);
    EXPECT_EQ(KindOf("Hello, world\n"), DocumentErrorKind::NotADocument);
    // Larger than any document, whatever it holds.
    std::string large = WriteDocument(SampleDocument());
    large.insert(large.size() - 2, std::string(kMaxDocumentBytes, ' '));
    EXPECT_EQ(KindOf(large), DocumentErrorKind::NotADocument);
}

TEST(DocumentFormat, NewerVersionsAreRefusedByName) {
    const DocumentReadResult r = ReadDocument(DocumentWith("version", "2"));
    ASSERT_FALSE(r.document.has_value());
    EXPECT_EQ(r.error.kind, DocumentErrorKind::NewerVersion);
    EXPECT_NE(r.error.reason.find("newer version of Kestrova"), std::string::npos);
    EXPECT_NE(r.error.reason.find("format version 2"), std::string::npos);
    EXPECT_EQ(KindOf(DocumentWith("version", "1e300")), DocumentErrorKind::NewerVersion);
}

TEST(DocumentFormat, WrongValuesMakeADamagedDocument) {
    ASSERT_TRUE(ReadDocument(DocumentWith("x-unknown", "true")).document.has_value())
        << "unknown members are ignored, so the helper's base document must read";
    const std::pair<std::string, std::string> cases[] = {
        {"version", "\"1\""},
        {"version", "1.5"},
        {"version", "0"},
        {"version", "-3"},
        {"fields", "[]"},
        {"fields", R"({"day": "1"})"},
        {"fields", R"({"day": 1, "month": "2", "year": "2000", "hour": "3", "minute": "4",)"
                   R"( "second": "5"})"},
        {"fields", R"({"day": "123", "month": "2", "year": "2000", "hour": "3", "minute": "4",)"
                   R"( "second": "5"})"},
        {"fields", R"({"day": "1", "month": "2", "year": "20000", "hour": "3", "minute": "4",)"
                   R"( "second": "5"})"},
        {"fields", R"({"day": "1\n", "month": "2", "year": "2000", "hour": "3", "minute": "4",)"
                   R"( "second": "5"})"},
        {"fields", R"({"day": "1", "month": "2", "year": "2000", "hour": "24", "minute": "4",)"
                   R"( "second": "5"})"},
        {"fields", R"({"day": "1", "month": "2", "year": "2000", "hour": "3", "minute": "4",)"
                   R"( "second": "60.0"})"},
        {"fields", R"({"day": "1", "month": "2", "year": "2000", "hour": "3", "minute": "4",)"
                   R"( "second": "nan"})"},
        {"fields", R"({"day": "1", "month": "2", "year": "-2000", "hour": "3", "minute": "4",)"
                   R"( "second": "5"})"},
        {"place", R"({"name": "Deep", "lat": 0, "lon": 0, "height": -1000})"},
        {"shown", "\"everything\""},
        {"shown", "3"},
        {"place", "[]"},
        {"place", R"({"name": "North", "lat": 90.5, "lon": 0, "height": 0})"},
        {"place", R"({"name": "East", "lat": 0, "lon": 181, "height": 0})"},
        {"place", R"({"name": "High", "lat": 0, "lon": 0, "height": 1e6})"},
        {"place", R"({"name": "Text", "lat": "45", "lon": 0, "height": 0})"},
        {"place", R"({"lat": 45, "lon": 0, "height": 0})"},
        {"place", R"({"name": "No height", "lat": 45, "lon": 0})"},
    };
    for (const auto& [key, json] : cases) {
        EXPECT_EQ(KindOf(DocumentWith(key, json)), DocumentErrorKind::Damaged) << key << json;
    }
    // Cut short, or not an object, after the marker.
    EXPECT_EQ(KindOf(R"({"format": "kestrova-document", "version": 1, "fie)"),
              DocumentErrorKind::Damaged);
    EXPECT_EQ(KindOf(R"(["kestrova-document"])"), DocumentErrorKind::Damaged);
}

TEST(DocumentFormat, TheProgramsWholeRangeOfYearsIsStored) {
    KestrovaDocument d = SampleDocument();
    d.fields[2] = "-1999";
    const DocumentReadResult r = ReadDocument(WriteDocument(d));
    ASSERT_TRUE(r.document.has_value()) << r.error.reason;
    EXPECT_EQ(r.document->fields[2], "-1999");
}

TEST(DocumentFormat, FieldLengthsCountAsTheFieldsDo) {
    // "é" is one character of the field, two bytes in the file.
    const auto r = ReadDocument(DocumentWith(
        "fields", R"({"day": "é1", "month": "2", "year": "2000", "hour": "3", "minute": "4",)"
                  R"( "second": "30.5"})"));
    ASSERT_TRUE(r.document.has_value()) << r.error.reason;
    EXPECT_EQ(r.document->fields[0], "é1");
    EXPECT_EQ(r.document->fields[5], "30.5");
    // A null place is no place.
    const auto none = ReadDocument(DocumentWith("place", "null"));
    ASSERT_TRUE(none.document.has_value());
    EXPECT_FALSE(none.document->place.has_value());
}

TEST(DocumentFormat, DeepNestingIsAnErrorNotACrash) {
    const std::string deep = std::string(50000, '[') + std::string(50000, ']');
    EXPECT_EQ(KindOf(deep), DocumentErrorKind::NotADocument);
    const std::string marked =
        "{\"format\": \"kestrova-document\", \"x\": " + std::string(5000, '[') +
        std::string(5000, ']') + "}";
    EXPECT_FALSE(ReadDocument(marked).document.has_value());
}

class DocumentFileTest : public testing::Test {
protected:
    std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }
    QTemporaryDir dir;
};

TEST_F(DocumentFileTest, ReadsARegularFile) {
    const std::string bytes = WriteDocument(SampleDocument());
    ASSERT_EQ(WriteFileAtomically(dir.filePath("a.kestrova"), bytes), "");
    const FileBytes read = ReadRegularFile(Path("a.kestrova"), kMaxDocumentBytes);
    ASSERT_TRUE(read.bytes.has_value()) << read.error;
    EXPECT_EQ(*read.bytes, bytes);
    // Through a symbolic link too.
    ASSERT_TRUE(QFile::link(dir.filePath("a.kestrova"), dir.filePath("link.kestrova")));
    EXPECT_TRUE(ReadRegularFile(Path("link.kestrova"), kMaxDocumentBytes).bytes.has_value());
}

TEST_F(DocumentFileTest, RefusesPipesDevicesFoldersAndLargeFilesWithoutWaiting) {
    ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
    const auto start = std::chrono::steady_clock::now();
    const FileBytes pipe = ReadRegularFile(Path("pipe"), kMaxDocumentBytes);
    EXPECT_FALSE(pipe.bytes.has_value());
    EXPECT_EQ(pipe.error, "it is a pipe, not a file");
    // A reader that waited for a writer would never get here; this only reports.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));

    const FileBytes device = ReadRegularFile("/dev/zero", kMaxDocumentBytes);
    EXPECT_FALSE(device.bytes.has_value());
    EXPECT_EQ(device.error, "it is a device, not a file");

    const FileBytes folder = ReadRegularFile(dir.path().toStdString(), kMaxDocumentBytes);
    EXPECT_FALSE(folder.bytes.has_value());
    EXPECT_EQ(folder.error, "it is a folder, not a file");

    QFile large(dir.filePath("large"));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly));
    ASSERT_EQ(large.write(QByteArray(static_cast<int>(kMaxDocumentBytes) + 1, 'x')),
              static_cast<qint64>(kMaxDocumentBytes) + 1);
    large.close();
    const FileBytes tooLarge = ReadRegularFile(Path("large"), kMaxDocumentBytes);
    EXPECT_FALSE(tooLarge.bytes.has_value());
    EXPECT_NE(tooLarge.error.find("too large"), std::string::npos);

    const FileBytes missing = ReadRegularFile(Path("missing"), kMaxDocumentBytes);
    EXPECT_FALSE(missing.bytes.has_value());
    EXPECT_EQ(missing.error, "No such file or directory");
}

TEST_F(DocumentFileTest, AtomicWriteReplacesWholeOrReportsAndKeepsTheOld) {
    const QString path = dir.filePath("doc.kestrova");
    ASSERT_EQ(WriteFileAtomically(path, std::string(5000, 'a')), "");
    ASSERT_EQ(WriteFileAtomically(path, "short"), "");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("short"));
    file.close();
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"doc.kestrova"});

    EXPECT_NE(WriteFileAtomically(dir.filePath("no/such/folder/doc.kestrova"), "x"), "");
    // A folder in the way is not replaced.
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken"));
    EXPECT_NE(WriteFileAtomically(dir.filePath("taken"), "x"), "");
    EXPECT_TRUE(QFileInfo(dir.filePath("taken")).isDir());
}
