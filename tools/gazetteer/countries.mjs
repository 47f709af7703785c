// Converts the country outlines of Natural Earth at 1:50m (the npm package world-atlas,
// countries-50m.json) and the regions of the world of the npm package world-countries
// into places/country_map_data.h, which places/country_map.cpp reads: the country and
// the large region of any point on land.
//
// The map is a quadtree like the zone map's: 48 x 24 cells of 7.5 degrees (rows from
// the north), each an area or four quarters (NW, NE, SW, SE), down to cells of
// 7.5 / 2^kDepth degrees. A finest cell takes the country its centre lies in; a cell
// whose centre is at sea but that holds a vertex of a country's outline takes that
// country, so that islands smaller than a cell are not lost.
//
// An area is a country with one region. The region is the country's UN subregion as
// world-countries gives it, except for parts of a country far from its largest part
// (French Guiana, Reunion, Hawaii), which take the region of the country whose largest
// part is nearest (Alaska and the Aleutians stay North America), and for Russia east of the Urals (60 E), which is northern Asia.
//
// usage: node countries.mjs OUTPUT.h
import { writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';

const require = createRequire(import.meta.url);
const [output] = process.argv.slice(2);
if (!output) {
    console.error('usage: node countries.mjs country_map_data.h');
    process.exit(2);
}

const kColumns = 48, kRows = 24, kDepth = 6;
const kFine = 1 << kDepth;
const kWidth = kColumns * kFine, kHeight = kRows * kFine; // finest cells
const kCell = 360 / kWidth;                                 // degrees
const kFarKm = 2500; // a part this far from the country's largest part is elsewhere

const topology = require('world-atlas/countries-50m.json');
const countries = require('world-countries');

// The regions as the program names them, in the order they are listed for a tie.
const kRegionOf = {
    'North America': 'North America',
    'Central America': 'Central America',
    Caribbean: 'Caribbean',
    'South America': 'South America',
    'Northern Europe': 'Europe (north)',
    'Western Europe': 'Europe (west)',
    'Central Europe': 'Europe (central)',
    'Southern Europe': 'Europe (south)',
    'Southeast Europe': 'Europe (south-east)',
    'Eastern Europe': 'Europe (east)',
    'Northern Africa': 'Africa (north)',
    'Western Africa': 'Africa (west)',
    'Middle Africa': 'Africa (central)',
    'Eastern Africa': 'Africa (east)',
    'Southern Africa': 'Africa (south)',
    'Western Asia': 'Asia (west)',
    'Central Asia': 'Asia (central)',
    'Southern Asia': 'Asia (south)',
    'Eastern Asia': 'Asia (east)',
    'South-Eastern Asia': 'Asia (south-east)',
    'Northern Asia': 'Asia (north)',
    'Australia and New Zealand': 'Australia and New Zealand',
    Melanesia: 'Pacific islands',
    Micronesia: 'Pacific islands',
    Polynesia: 'Pacific islands',
    Antarctic: 'Antarctic',
};
const regionNames = [...new Set(Object.values(kRegionOf))];

// Natural Earth features without an ISO number: the country whose region they share,
// and their names written out.
const kNoNumber = {
    Somaliland: ['SO', 'Somaliland'],
    Kosovo: ['XK', 'Kosovo'],
    'N. Cyprus': ['CY', 'Northern Cyprus'],
    'Indian Ocean Ter.': ['AU', 'Australian Indian Ocean Territories'],
    'Siachen Glacier': ['IN', 'Siachen Glacier'],
};
const byNumber = new Map(countries.map((c) => [c.ccn3, c]));
const byCode = new Map(countries.map((c) => [c.cca2, c]));

// TopoJSON arcs: quantized and delta-encoded; ~i is arc i reversed.
const arcs = topology.arcs.map((arc) => {
    let x = 0, y = 0;
    return arc.map(([dx, dy]) => {
        x += dx;
        y += dy;
        return [topology.transform.translate[0] + x * topology.transform.scale[0],
                topology.transform.translate[1] + y * topology.transform.scale[1]];
    });
});
const ringOf = (indices) => {
    const ring = [];
    for (const i of indices) {
        const a = i >= 0 ? arcs[i] : arcs[~i].slice().reverse();
        ring.push(...(ring.length ? a.slice(1) : a));
    }
    return ring;
};

// Longitudes made continuous along the ring; a ring that goes round a pole
// (Antarctica) is closed along it.
const unwrap = (ring) => {
    const out = [ring[0].slice()];
    for (let i = 1; i < ring.length; ++i) {
        let lon = ring[i][0];
        const last = out[out.length - 1][0];
        while (lon - last > 180) lon -= 360;
        while (lon - last < -180) lon += 360;
        out.push([lon, ring[i][1]]);
    }
    const turn = out[out.length - 1][0] - out[0][0];
    if (Math.abs(turn) > 180) {
        const pole = out.reduce((s, p) => s + p[1], 0) < 0 ? -90 : 90;
        out.push([out[out.length - 1][0], pole], [out[0][0], pole]);
    }
    return out;
};

const areaOf = (ring) => {
    let a = 0;
    for (let i = 0, j = ring.length - 1; i < ring.length; j = i++)
        a += (ring[j][0] - ring[i][0]) * (ring[j][1] + ring[i][1]);
    return Math.abs(a / 2);
};
const centroidOf = (ring) => {
    let x = 0, y = 0;
    for (const p of ring) {
        x += p[0];
        y += p[1];
    }
    return [x / ring.length, y / ring.length];
};
const kmBetween = ([lon1, lat1], [lon2, lat2]) => {
    const r = Math.PI / 180;
    const c = Math.sin(lat1 * r) * Math.sin(lat2 * r) +
              Math.cos(lat1 * r) * Math.cos(lat2 * r) * Math.cos((lon1 - lon2) * r);
    return 6371 * Math.acos(Math.max(-1, Math.min(1, c)));
};

// The features: name, subregion and polygons (arrays of unwrapped rings).
const features = topology.objects.countries.geometries.map((g) => {
    const unnumbered = kNoNumber[g.properties.name];
    const info = g.id !== undefined ? byNumber.get(g.id) : unnumbered && byCode.get(unnumbered[0]);
    if (!info)
        throw new Error(`no region for ${g.properties.name} (${g.id})`);
    const polygons = (g.type === 'Polygon' ? [g.arcs] : g.arcs).map((p) => p.map((r) => unwrap(ringOf(r))));
    const name = g.id !== undefined ? info.name.common : unnumbered[1];
    const subregion = info.subregion || info.region;
    if (!kRegionOf[subregion])
        throw new Error(`unknown subregion ${subregion}`);
    const largest = polygons.reduce((best, p) => (areaOf(p[0]) > areaOf(best[0]) ? p : best));
    return { name, subregion, polygons, main: centroidOf(largest[0]) };
});

// The areas (country, region) and their numbers; 0 is the sea.
const areas = [{ country: '', region: '' }];
const areaIndex = new Map();
const areaOfPart = (feature, region) => {
    const key = feature.name + '\t' + region;
    if (!areaIndex.has(key)) {
        areaIndex.set(key, areas.length);
        areas.push({ country: feature.name, region });
    }
    return areaIndex.get(key);
};
const regionOfPart = (feature, polygon) => {
    const c = centroidOf(polygon[0]);
    // Alaska and the Aleutians lie nearer Asia's countries than America's middle;
    // Russia's islands are split at the Urals like its main land.
    if (kmBetween(c, feature.main) <= kFarKm || (feature.name === 'United States' && c[1] > 40) ||
        feature.name === 'Russia')
        return kRegionOf[feature.subregion];
    let nearest = null, best = Infinity;
    for (const f of features) {
        const d = kmBetween(c, f.main);
        if (f !== feature && d < best) {
            best = d;
            nearest = f;
        }
    }
    return kRegionOf[nearest.subregion];
};

// The finest cells, filled by scanlines through the cells' centres (even-odd over
// the rings of one polygon, holes included).
const grid = new Uint16Array(kWidth * kHeight);
const column = (lon) => ((Math.floor((lon + 180) / kCell) % kWidth) + kWidth) % kWidth;
const rowOf = (lat) => Math.min(kHeight - 1, Math.max(0, Math.floor((90 - lat) / kCell)));
const fill = (rings, areaFor) => {
    let top = -90, bottom = 90;
    for (const r of rings)
        for (const p of r) {
            top = Math.max(top, p[1]);
            bottom = Math.min(bottom, p[1]);
        }
    for (let row = rowOf(top); row <= rowOf(bottom); ++row) {
        const lat = 90 - (row + 0.5) * kCell;
        const crossings = [];
        for (const r of rings)
            for (let i = 0, j = r.length - 1; i < r.length; j = i++) {
                const [x1, y1] = r[j], [x2, y2] = r[i];
                if ((y1 > lat) !== (y2 > lat))
                    crossings.push(x1 + ((lat - y1) * (x2 - x1)) / (y2 - y1));
            }
        crossings.sort((a, b) => a - b);
        for (let k = 0; k + 1 < crossings.length; k += 2) {
            // Cells whose centre lies between the two crossings.
            const first = Math.ceil((crossings[k] + 180) / kCell - 0.5);
            const last = Math.floor((crossings[k + 1] + 180) / kCell - 0.5);
            for (let c = first; c <= last; ++c) {
                const lon = -180 + (c + 0.5) * kCell;
                grid[row * kWidth + column(lon)] = areaFor(lon);
            }
        }
    }
};
const representative = new Map(); // area -> its finest cell nearest the middle of its cells
const firstVertex = new Map();    // area -> [lon, lat], for an area no cell shows
for (const f of features) {
    for (const polygon of f.polygons) {
        const region = regionOfPart(f, polygon);
        const area = areaOfPart(f, region);
        const areaFor = f.name === 'Russia' && region === 'Europe (east)'
            ? (lon) => {
                  const east = ((((lon + 180) % 360) + 360) % 360) - 180;
                  return east > 60 || east < -100 ? areaOfPart(f, 'Asia (north)') : area;
              }
            : () => area;
        fill(polygon, areaFor);
        if (!firstVertex.has(area))
            firstVertex.set(area, polygon[0][0]);
        for (const ring of polygon)
            for (const [lon, lat] of ring) {
                const i = rowOf(lat) * kWidth + column(lon);
                if (grid[i] === 0)
                    grid[i] = areaFor(lon);
            }
    }
}
for (let i = 0; i < grid.length; ++i)
    if (grid[i] !== 0 && !representative.has(grid[i])) {
        // The cell of the area nearest its middle comes later; first any.
        representative.set(grid[i], i);
    }
// Each area's representative cell: the one nearest the mean of its cells.
{
    const sums = new Map();
    for (let i = 0; i < grid.length; ++i) {
        const a = grid[i];
        if (a === 0) continue;
        const s = sums.get(a) ?? { x: 0, y: 0, n: 0 };
        s.x += i % kWidth;
        s.y += Math.floor(i / kWidth);
        s.n += 1;
        sums.set(a, s);
    }
    for (let i = 0; i < grid.length; ++i) {
        const a = grid[i];
        if (a === 0) continue;
        const s = sums.get(a), r = representative.get(a);
        const d = (j) => (j % kWidth - s.x / s.n) ** 2 + (Math.floor(j / kWidth) - s.y / s.n) ** 2;
        if (d(i) < d(r))
            representative.set(a, i);
    }
}

// The quadtree: entries below areas.length are areas; others nodes.
const entries = new Array(kColumns * kRows).fill(-1);
const pending = [];
let nodes = 0;
const uniform = (x0, y0, size) => {
    const a = grid[y0 * kWidth + x0];
    for (let y = y0; y < y0 + size; ++y)
        for (let x = x0; x < x0 + size; ++x)
            if (grid[y * kWidth + x] !== a)
                return -1;
    return a;
};
const place = (slot, x0, y0, size) => {
    const a = uniform(x0, y0, size);
    if (a >= 0) {
        entries[slot] = a;
        return;
    }
    entries[slot] = areas.length + nodes++;
    const base = entries.length;
    entries.push(-1, -1, -1, -1);
    pending.push({ base, x0, y0, size });
};
for (let cell = 0; cell < kColumns * kRows; ++cell)
    place(cell, (cell % kColumns) * kFine, Math.floor(cell / kColumns) * kFine, kFine);
while (pending.length > 0) {
    const { base, x0, y0, size } = pending.shift();
    const h = size / 2;
    place(base, x0, y0, h);
    place(base + 1, x0 + h, y0, h);
    place(base + 2, x0, y0 + h, h);
    place(base + 3, x0 + h, y0 + h, h);
}
if (entries.some((e) => e < 0) || areas.length + nodes > 65535)
    throw new Error('unexpected layout');
// Nodes are numbered in the order their quarters were appended.
{
    let next = 0;
    for (let i = 0; i < entries.length; ++i)
        if (entries[i] >= areas.length && entries[i] - areas.length !== next++)
            throw new Error('node order');
}

const countryNames = [...new Set(areas.slice(1).map((a) => a.country))].sort();
const quote = (s) => JSON.stringify(s);
const lines = [];
for (let i = 0; i < entries.length; i += 16)
    lines.push('    ' + entries.slice(i, i + 16).join(', ') + ',');
const areaLines = areas.map((a, i) => {
    if (i === 0)
        return '    {-1, -1, 0, 0},';
    // An enclave smaller than a cell (Vatican City) shows none: a point of its outline.
    const cell = representative.get(i);
    const [lon, lat] = cell !== undefined
        ? [-180 + ((cell % kWidth) + 0.5) * kCell, 90 - (Math.floor(cell / kWidth) + 0.5) * kCell]
        : firstVertex.get(i);
    return `    {${countryNames.indexOf(a.country)}, ${regionNames.indexOf(a.region)}, ` +
           `${lat.toFixed(3)}, ${lon.toFixed(3)}}, // ${a.country}, ${a.region}`;
});
const atlas = require('world-atlas/package.json').version;
const wc = require('world-countries/package.json').version;
const text = `// Generated by tools/gazetteer/countries.mjs from world-atlas ${atlas} (Natural Earth
// 1:50m countries, public domain) and world-countries ${wc} (regions, ODbL; see
// res/places/README.md). Do not edit.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The tables keep the generated layout.
// clang-format off
inline constexpr std::array<std::string_view, ${countryNames.length}> kCountryMapCountries = {
${countryNames.map((n) => `    ${quote(n)},`).join('\n')}
};

inline constexpr std::array<std::string_view, ${regionNames.length}> kCountryMapRegions = {
${regionNames.map((n) => `    ${quote(n)},`).join('\n')}
};

// A country with one region; area 0 is the sea. The point lies in the area: one of
// its finest cells near the middle of them, or a point of its outline (degrees).
struct CountryMapArea {
    int country; // kCountryMapCountries, -1 at sea
    int region;  // kCountryMapRegions, -1 at sea
    double latitude, longitude;
};
inline constexpr std::array<CountryMapArea, ${areas.length}> kCountryMapAreas = {{
${areaLines.join('\n')}
}};

// Cells of 7.5 / ${kFine} degrees at the finest.
inline constexpr int kCountryMapDepth = ${kDepth};

// The 48 x 24 cells of 7.5 degrees from 90 N and 180 W, row by row, then four entries
// (NW, NE, SW, SE) per node: an entry below ${areas.length} is an area of kCountryMapAreas,
// any other the node (entry - ${areas.length}).
inline constexpr std::array<std::uint16_t, ${entries.length}> kCountryMapEntries = {
${lines.join('\n')}
};
// clang-format on
`;
writeFileSync(output, text);
console.error(`${countryNames.length} countries, ${areas.length - 1} areas, ${nodes} nodes, ` +
              `${entries.length} entries written to ${output}`);
