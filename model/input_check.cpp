#include "model/input_check.h"

#include "model/input_parse.h"
#include "model/texts.h"

#include <cstdio>

FieldValues ParseFieldTexts(const FieldTexts& texts) {
    return {ParseInt(texts.day),  ParseInt(texts.month),  ParseInt(texts.year),
            ParseInt(texts.hour), ParseInt(texts.minute), ParseReal(texts.second)};
}

bool DateTextsMissing(const FieldTexts& texts) {
    return texts.day.empty() || texts.month.empty() || texts.year.empty();
}

std::string TimeProblemText(int hour, int minute, double second) {
    const char* why = nullptr;
    if (hour < 0 || hour > 23) {
        why = "the hour must be 0 to 23";
    } else if (minute < 0 || minute > 59) {
        why = "the minute must be 0 to 59";
    } else if (!(second >= 0.0 && second < 60.0)) {
        why = "the seconds must be from 0 to below 60";
    }
    if (why == nullptr) {
        return {};
    }
    char text[160];
    std::snprintf(text, sizeof text, "The time %.2d:%.2d:%02g does not exist: %s.", hour, minute,
                  second, why);
    return text;
}

std::string InputProblemText(const FieldValues& v, bool withTime) {
    std::string problem = DateProblemText(v.day, v.month, v.year);
    if (problem.empty() && withTime) {
        problem = TimeProblemText(v.hour, v.minute, v.second);
    }
    return problem;
}
