#pragma once

#include <string>

// An angle (or a time in hours) split into whole units, minutes and seconds,
// with its two standard texts. A negative value carries its sign on the first
// non-zero part only ("00 -30 0.00" for -0.5).
class CSexagesimal {
public:
    explicit CSexagesimal(double value);

    int m_nWhole = 0;        // whole units of |value|, truncated
    int m_nMinutes = 0;      // whole minutes, truncated
    double m_dMinutes = 0.0; // minutes with their fraction
    double m_dSeconds = 0.0; // seconds with their fraction
    std::string m_strDMS;    // "%.2d %.2d %.2f"
    std::string m_strDM;     // "%.2d %.0f"
    int m_bNonNegative = 1;  // 1 when value >= 0
};
