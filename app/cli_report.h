#pragma once

// Lines of name and value that a command prints as "name value" lines or as one
// JSON object.

#include <cstdio>
#include <string>
#include <vector>

class CliReport {
public:
    void Text(const std::string& name, const std::string& value) {
        lines_.push_back({name, value, true});
    }
    // A number already written as text (bare in JSON).
    void Number(const std::string& name, const std::string& value) {
        lines_.push_back({name, value, false});
    }
    void Flag(const std::string& name, bool value) {
        lines_.push_back({name, value ? "true" : "false", false});
    }
    void Print(bool json) const {
        if (json) {
            std::printf("%s\n", Json().c_str());
            return;
        }
        for (const Line& l : lines_)
            std::printf("%s %s\n", l.name.c_str(), l.value.c_str());
    }
    std::string Json() const {
        std::string out = "{";
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            const Line& l = lines_[i];
            out += (i ? ", " : "") + Quote(l.name) + ": " + (l.quoted ? Quote(l.value) : l.value);
        }
        return out + "}";
    }

private:
    struct Line {
        std::string name;
        std::string value;
        bool quoted;
    };
    static std::string Quote(const std::string& s) {
        std::string out = "\"";
        for (const char c : s) {
            if (c == '"' || c == '\\') {
                out += '\\';
                out += c;
            } else if (static_cast<unsigned char>(c) < 0x20) {
                char esc[8];
                std::snprintf(esc, sizeof esc, "\\u%04x", c);
                out += esc;
            } else {
                out += c;
            }
        }
        return out + "\"";
    }
    std::vector<Line> lines_;
};
