// kestrova-cli with hostile arguments: every call either answers correctly or exits
// with status 1, one line on stderr and nothing on stdout. The picture commands run
// when kestrova-render was built beside kestrova-cli.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct CliRun {
    int status = -1; // exit status, or -1 when the program did not exit normally
    std::string out, err;
};

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs kestrova-cli with args; stdout and stderr go to files, stdin is empty.
CliRun RunCli(const std::vector<std::string>& args) {
    const fs::path out =
        fs::temp_directory_path() / ("kestrova-hostile-out-" + std::to_string(getpid()));
    const fs::path err =
        fs::temp_directory_path() / ("kestrova-hostile-err-" + std::to_string(getpid()));
    std::vector<char*> argv;
    std::string program = KESTROVA_CLI;
    argv.push_back(program.data());
    std::vector<std::string> copy = args;
    for (std::string& a : copy)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int n = open("/dev/null", O_RDONLY);
        dup2(o, 1);
        dup2(e, 2);
        dup2(n, 0);
        execv(argv[0], argv.data());
        _exit(127);
    }
    CliRun r;
    int status = 0;
    waitpid(pid, &status, 0);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = ReadFile(out);
    r.err = ReadFile(err);
    fs::remove(out);
    fs::remove(err);
    return r;
}

int Lines(const std::string& text) {
    int n = 0;
    for (char c : text)
        n += c == '\n';
    return n;
}

bool HaveRenderer() {
    return fs::exists(fs::path(KESTROVA_CLI).parent_path() / "kestrova-render");
}

std::string Show(const std::vector<std::string>& args) {
    std::string s;
    for (const std::string& a : args)
        s += "[" + a + "] ";
    return s;
}

void ExpectRefused(const std::vector<std::string>& args) {
    const CliRun r = RunCli(args);
    EXPECT_EQ(r.status, 1) << Show(args) << "\nstdout: " << r.out << "\nstderr: " << r.err;
    EXPECT_EQ(Lines(r.err), 1) << Show(args) << "\nstderr: " << r.err;
    EXPECT_EQ(r.out, "") << Show(args);
}

// Values that are no number, or no number any argument takes.
const std::vector<std::string> kNotNumbers = {"",
                                              " ",
                                              "x",
                                              "nan",
                                              "-nan",
                                              "NaN",
                                              "inf",
                                              "-inf",
                                              "infinity",
                                              "0x10",
                                              "0x1p3",
                                              "1e999",
                                              "-1e999",
                                              "1,5",
                                              "+-1",
                                              "--1",
                                              "-",
                                              "+",
                                              ".",
                                              "1e",
                                              "1 ",
                                              " 1",
                                              "1x",
                                              "\n",
                                              "1\n2",
                                              "2147483648",
                                              "-2147483649",
                                              "4294967297",
                                              "99999999999999999999999"};

struct Command {
    std::vector<std::string> args; // a call that is answered
    int firstNumber;               // index of the first numeric argument
    int numbers;                   // how many numeric arguments follow
    bool picture;                  // needs kestrova-render
};

std::vector<Command> Commands(const std::string& dir) {
    return {
        {{"ephemeris", "29", "3", "2006", "10", "11", "12.5"}, 1, 6, false},
        {{"elements", "29", "3", "2006", "10", "11", "12.5"}, 1, 6, false},
        {{"contacts", "29", "3", "2006"}, 1, 3, false},
        {{"snapshot", "29", "3", "2006", "10", "11", "12.5"}, 1, 6, false},
        {{"riseset", "29", "3", "2006", "51.5"}, 1, 4, false},
        {{"snapshot", "29", "3", "2006", "10", "11", "12.5", "--png", dir + "/s.png"}, 1, 6, true},
        {{"map", "29", "3", "2006", "--png", dir + "/m.png"}, 1, 3, true},
        {{"print", "29", "3", "2006", "--pdf", dir + "/p.pdf"}, 1, 3, true},
    };
}

class HostileCli : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kestrova-hostile-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

} // namespace

TEST_F(HostileCli, EveryNumericArgumentThatIsNoNumberIsRefused) {
    int calls = 0;
    for (const Command& c : Commands(dir.string())) {
        if (c.picture && !HaveRenderer())
            continue;
        for (int i = c.firstNumber; i < c.firstNumber + c.numbers; ++i) {
            for (const std::string& bad : kNotNumbers) {
                std::vector<std::string> args = c.args;
                args[static_cast<std::size_t>(i)] = bad;
                ExpectRefused(args);
                ++calls;
            }
        }
    }
    // Nothing was written by a refused picture command.
    EXPECT_TRUE(fs::is_empty(dir));
    RecordProperty("calls", calls);
}

TEST_F(HostileCli, NumbersOutOfRangeAndDatesThatDoNotExistAreRefused) {
    // Each: position (1 day, 2 month, 3 year, 4 hour, 5 minute, 6 second / latitude)
    // and the value put there into an answered call.
    const std::vector<std::pair<int, std::string>> outOfRange = {
        {1, "0"},     {1, "32"},     {1, "57"},         {1, "-1"},      {2, "0"},
        {2, "13"},    {2, "14"},     {2, "-1"},         {3, "10000"},   {3, "20089"},
        {3, "-2000"}, {3, "-5000"},  {3, "2147483647"}, {3, "1000000"}, {3, "-100000"},
        {4, "24"},    {4, "-1"},     {4, "99"},         {5, "60"},      {5, "-1"},
        {6, "60"},    {6, "-0.001"}, {6, "60.5"},       {6, "1e300"}};
    for (const Command& c : Commands(dir.string())) {
        if (c.picture && !HaveRenderer())
            continue;
        for (const auto& [position, value] : outOfRange) {
            if (position > c.numbers)
                continue;
            std::vector<std::string> args = c.args;
            args[static_cast<std::size_t>(position)] = value;
            if (args[0] == "riseset" && position == 4)
                continue; // the latitude, below
            ExpectRefused(args);
        }
        // Dates with every field in range that do not exist (Gregorian leap rule from
        // 1582 October 15; the ten days the reform dropped).
        const std::vector<std::vector<std::string>> dates = {
            {"31", "2", "2006"}, {"29", "2", "2006"}, {"29", "2", "1900"}, {"29", "2", "2100"},
            {"31", "4", "2006"}, {"31", "6", "2006"}, {"31", "9", "1999"}, {"31", "11", "2006"},
            {"5", "10", "1582"}, {"14", "10", "1582"}};
        for (const auto& d : dates) {
            std::vector<std::string> args = c.args;
            for (int k = 0; k < 3; ++k)
                args[static_cast<std::size_t>(1 + k)] = d[static_cast<std::size_t>(k)];
            ExpectRefused(args);
        }
    }
    for (const char* lat : {"90.001", "-90.5", "91", "1e3", "nan", "inf"})
        ExpectRefused({"riseset", "29", "3", "2006", lat});
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(HostileCli, EdgesOfTheRangesAreAnswered) {
    // Dates that exist at the edges: the first and last years, leap days of both
    // calendars, the days either side of the reform.
    const std::vector<std::vector<std::string>> dates = {
        {"1", "1", "-1999"}, {"31", "12", "9999"}, {"29", "2", "2000"},  {"29", "2", "1500"},
        {"29", "2", "-4"},   {"4", "10", "1582"},  {"15", "10", "1582"}, {"+29", "03", "02006"}};
    for (const auto& d : dates) {
        const CliRun r = RunCli({"contacts", d[0], d[1], d[2]});
        EXPECT_EQ(r.status, 0) << d[0] << "." << d[1] << "." << d[2] << " " << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_NE(r.out, "");
        // No negative times, no "nan".
        EXPECT_EQ(r.out.find(":-"), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find("nan"), std::string::npos) << r.out;
    }
    const CliRun e = RunCli({"ephemeris", "1", "1", "-1999", "23", "59", "59.999"});
    EXPECT_EQ(e.status, 0);
    EXPECT_EQ(e.out.find("nan"), std::string::npos) << e.out;
    // The Sun's declination stays within the obliquity (about 24 degrees) and its
    // distance near 1 AU at both ends of the years.
    for (const char* year : {"-1999", "9999"}) {
        const CliRun r = RunCli({"ephemeris", "21", "6", year, "0", "0", "0"});
        ASSERT_EQ(r.status, 0);
        std::istringstream in(r.out);
        std::string name;
        double value = 0;
        while (in >> name >> value) {
            if (name == "sunDec") {
                EXPECT_LT(std::abs(value), 24.5) << year;
            } else if (name == "sunDistance") {
                EXPECT_NEAR(value, 1.0, 0.02) << year;
            }
        }
    }
}

TEST_F(HostileCli, PicturesAreNotWrittenWhereTheyCannotBeWhole) {
    if (!HaveRenderer())
        GTEST_SKIP() << "kestrova-render was not built";
    const fs::path fifo = dir / "fifo.png";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ExpectRefused({"print", "29", "3", "2006", "--pdf", "/dev/full"});
    ExpectRefused({"map", "29", "3", "2006", "--png", "/dev/full"});
    ExpectRefused({"map", "29", "3", "2006", "--png", fifo.string()});
    ExpectRefused({"map", "29", "3", "2006", "--png", dir.string()});
    ExpectRefused({"map", "29", "3", "2006", "--png", (dir / "no" / "m.png").string()});
    ExpectRefused(
        {"map", "29", "3", "2006", "--png", (dir / "m.png").string(), "--size", "4294967297x5"});
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1); // the FIFO only

    // A 64 KiB file system (where mounting is allowed): too small for the PDF and the
    // PNG. An earlier file of the name stays as it was; nothing else is left.
    const fs::path small = dir / "small";
    fs::create_directory(small);
    if (mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small file system here";
    std::ofstream(small / "old.pdf") << "earlier";
    std::ofstream(small / "old.png") << "earlier";
    ExpectRefused({"print", "29", "3", "2006", "--pdf", (small / "old.pdf").string()});
    ExpectRefused({"map", "29", "3", "2006", "--png", (small / "old.png").string()});
    ExpectRefused({"map", "29", "3", "2006", "--png", (small / "new.png").string()});
    EXPECT_EQ(ReadFile(small / "old.pdf"), "earlier");
    EXPECT_EQ(ReadFile(small / "old.png"), "earlier");
    EXPECT_EQ(std::distance(fs::directory_iterator(small), {}), 2);

    // The same folder read-only.
    ASSERT_EQ(mount("tmpfs", small.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k"), 0);
    ExpectRefused({"print", "29", "3", "2006", "--pdf", (small / "old.pdf").string()});
    ExpectRefused({"map", "29", "3", "2006", "--png", (small / "new.png").string()});
    EXPECT_EQ(ReadFile(small / "old.pdf"), "earlier");
    EXPECT_EQ(std::distance(fs::directory_iterator(small), {}), 2);
    umount(small.c_str());
}
