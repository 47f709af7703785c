// The political world map with time-zone bands, painted into a map frame.
#pragma once

#include "projection.h"
#include "topology.h"

#include <QImage>

#include <vector>

namespace mapgen {

enum class ArcKind {
    Coast,  // edge of one country's land
    Border, // shared by two countries
    Inside  // between two polygons of the same country: not drawn
};

// What each arc of the topology is, from the countries that use it.
std::vector<ArcKind> ClassifyArcs(const Topology& topology);

// A fill colour index for every country such that countries sharing a border differ where the
// palette allows it. Deterministic for a given topology.
std::vector<int> ColourCountries(const Topology& topology, const std::vector<ArcKind>& kinds,
                                 int paletteSize);

// Longitudes made continuous along a line: each step goes the short way round, so a line that
// crosses the antimeridian continues past +-180 instead of jumping across the map.
GeoLine Unwrapped(const GeoLine& line);

// Moves a continuous line by whole turns so that its mean longitude lies in [-180, 180].
void Recentre(GeoLine& line);

// A ring that goes once round a pole (Antarctica) ends a whole turn east or west of where it
// started. Closing it along the pole's meridians makes it an ordinary outline of the land
// between its coast and the pole.
void CloseRoundPole(GeoLine& ring);

// The time-zone band of a longitude: band k is centred on 15k degrees, its edges at
// 7.5 + 15k. Bands with an odd index are tinted.
int TimeZoneBand(double lonDeg);

// Paints the map into an image of the frame's size (RGB32).
QImage RenderWorldMap(const Topology& topology, const MapFrame& frame);

} // namespace mapgen
