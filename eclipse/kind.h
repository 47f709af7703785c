#pragma once

// The kind of an eclipse, solar or lunar, globally or as seen from one place.
// Solar eclipses are partial, annular, total or hybrid; lunar ones penumbral,
// partial or total; None where there is no eclipse (or none is seen).
enum class EclipseKind { None, Penumbral, Partial, Annular, Total, Hybrid };

// 'P', 'A', 'T', 'H' as published canons abbreviate the kinds of solar eclipse, 'N'
// penumbral as the lunar catalogues do, '-' none.
constexpr char EclipseKindLetter(EclipseKind kind) {
    switch (kind) {
    case EclipseKind::Partial:
        return 'P';
    case EclipseKind::Annular:
        return 'A';
    case EclipseKind::Total:
        return 'T';
    case EclipseKind::Hybrid:
        return 'H';
    case EclipseKind::Penumbral:
        return 'N';
    case EclipseKind::None:
        break;
    }
    return '-';
}

// "partial", "annular", "total", "hybrid", "penumbral" or "none".
constexpr const char* EclipseKindName(EclipseKind kind) {
    switch (kind) {
    case EclipseKind::Partial:
        return "partial";
    case EclipseKind::Annular:
        return "annular";
    case EclipseKind::Total:
        return "total";
    case EclipseKind::Hybrid:
        return "hybrid";
    case EclipseKind::Penumbral:
        return "penumbral";
    case EclipseKind::None:
        break;
    }
    return "none";
}
