#include "geo/sexagesimal.h"

#include <cmath>
#include <cstdio>

namespace {

// Whole part of a non-negative value as an int; values an int cannot hold
// (or NaN) give 0 rather than undefined behaviour.
int WholePart(double a) {
    if (!(a >= 0.0 && a < 2147483647.0))
        return 0;
    return static_cast<int>(a);
}

} // namespace

CSexagesimal::CSexagesimal(double value) {
    m_bNonNegative = value >= 0.0 ? 1 : 0;
    const double a = std::fabs(value);
    m_nWhole = WholePart(a);
    m_dMinutes = std::isfinite(a) ? (a - m_nWhole) * 60.0 : 0.0;
    m_nMinutes = WholePart(m_dMinutes);
    m_dSeconds = (m_dMinutes - m_nMinutes) * 60.0;

    if (value < 0.0) {
        if (m_nWhole != 0) {
            m_nWhole = -m_nWhole;
        } else if (m_nMinutes != 0) {
            m_nMinutes = -m_nMinutes;
            m_dMinutes = -m_dMinutes;
        } else if (m_dSeconds != 0.0) {
            m_dSeconds = -m_dSeconds;
        }
    }

    char text[64];
    std::snprintf(text, sizeof text, "%.2d %.2d %.2f", m_nWhole, m_nMinutes, m_dSeconds);
    m_strDMS = text;
    std::snprintf(text, sizeof text, "%.2d %.0f", m_nWhole, m_dMinutes);
    m_strDM = text;
}
