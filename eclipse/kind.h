#pragma once

// The kind of an eclipse, solar or lunar, globally or as seen from one place.
// Solar eclipses are partial, annular, total or hybrid; lunar ones penumbral,
// partial or total; None where there is no eclipse (or none is seen).
enum class EclipseKind { None, Penumbral, Partial, Annular, Total, Hybrid };
