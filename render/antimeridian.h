#pragma once

// Lines on the map broken where they cross the antimeridian, for any point type with
// lat and lon members in degrees (longitudes within [-180, 180]). No Qt here.

#include <cmath>
#include <utility>
#include <vector>

// Pieces that do not cross the antimeridian: a step of more than 180 degrees in
// longitude is a crossing, and both pieces end on +-180 at the crossing's
// interpolated latitude. Pieces of fewer than two points are left out.
template <typename Point>
std::vector<std::vector<Point>> SplitAtAntimeridian(const std::vector<Point>& line) {
    std::vector<std::vector<Point>> pieces;
    std::vector<Point> piece;
    for (std::size_t k = 0; k < line.size(); ++k) {
        if (k > 0 && std::fabs(line[k].lon - line[k - 1].lon) > 180.0) {
            const Point a = line[k - 1];
            const Point b = line[k];
            const double edge = a.lon > 0.0 ? 180.0 : -180.0;
            const double bUnwrapped = b.lon + (a.lon > 0.0 ? 360.0 : -360.0);
            const double f = (edge - a.lon) / (bUnwrapped - a.lon);
            const double lat = a.lat + f * (b.lat - a.lat);
            piece.push_back({lat, edge});
            if (piece.size() >= 2)
                pieces.push_back(piece);
            piece = {{lat, -edge}};
        }
        piece.push_back(line[k]);
    }
    if (piece.size() >= 2)
        pieces.push_back(std::move(piece));
    return pieces;
}
