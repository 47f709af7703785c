"""Reads the KML and GeoJSON of kestrova-cli map with strict parsers and checks
them against RFC 7946 / KML 2.2 rules and places known to lie in the path or out
of it: Dallas (32.78 N, 96.80 W), about 46 km north-west of the central line of
2024 April 8, between it and the northern limit, and Indianapolis in the path of
totality; Houston and Chicago outside it."""
import json
import math
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

cli = sys.argv[1]
folder = tempfile.mkdtemp()
kml_file = os.path.join(folder, "e.kml")
json_file = os.path.join(folder, "e.geojson")
subprocess.run([cli, "map", "8", "4", "2024", "--kml", kml_file, "--geojson", json_file],
               check=True)


def fail(message):
    print("FAIL:", message)
    sys.exit(1)


def reject_constant(name):
    fail("non-standard JSON constant " + name)


collection = json.load(open(json_file), parse_constant=reject_constant)
if collection.get("type") != "FeatureCollection":
    fail("not a FeatureCollection")
lines = {}
polygons = {}
for feature in collection["features"]:
    if feature.get("type") != "Feature" or "name" not in feature["properties"]:
        fail("feature without type or name")
    geometry = feature["geometry"]
    kind = geometry["type"]
    parts = {"Point": lambda c: [[c]], "MultiLineString": lambda c: c,
             "Polygon": lambda c: c, "MultiPolygon": lambda c: [r for p in c for r in p]}
    if kind not in parts:
        fail("unexpected geometry " + kind)
    parts = parts[kind](geometry["coordinates"])
    if kind in ("Polygon", "MultiPolygon"):
        polygons[feature["properties"]["name"]] = feature
        for ring in parts:
            if len(ring) < 4 or ring[0] != ring[-1]:
                fail("a ring that is not closed in " + feature["properties"]["name"])
    for part in parts:
        if geometry["type"] == "MultiLineString" and len(part) < 2:
            fail("line with fewer than two positions")
        for k, (lon, lat) in enumerate(part):
            if not (-180 <= lon <= 180 and -90 <= lat <= 90):
                fail("position out of range: %r" % ([lon, lat],))
            if k and abs(lon - part[k - 1][0]) > 180:
                fail("line crosses the antimeridian in " + feature["properties"]["name"])
    lines[feature["properties"]["name"]] = parts
for needed in ["Central line", "Northern limit of the path", "Southern limit of the path",
               "Umbral path outline", "Greatest eclipse", "Penumbra at 18:00 UT"]:
    if needed not in lines:
        fail("missing feature " + needed)

if list(polygons) != ["Path of totality"]:
    fail("the path should be one polygon feature, not %r" % list(polygons))
band = polygons["Path of totality"]
for key in ("width_km", "duration_s"):
    if not isinstance(band["properties"].get(key), (int, float)):
        fail("the path has no number " + key)
if not 180 <= band["properties"]["width_km"] <= 200:
    fail("width at greatest eclipse %r km, the canon says 198" % band["properties"]["width_km"])
if not 260 <= band["properties"]["duration_s"] <= 275:
    fail("duration at greatest eclipse %r s, the canon says 268" % band["properties"]["duration_s"])


def inside(place, feature):
    """Even-odd rule over every ring of a Polygon or MultiPolygon."""
    geometry = feature["geometry"]
    polys = [geometry["coordinates"]] if geometry["type"] == "Polygon" else geometry["coordinates"]
    x, y = place
    count = 0
    for poly in polys:
        for ring in poly:
            for (x1, y1), (x2, y2) in zip(ring, ring[1:]):
                if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
                    count += 1
    return count % 2 == 1


for name, place, expected in [("Dallas", (-96.80, 32.78), True),
                              ("Indianapolis", (-86.16, 39.77), True),
                              ("Houston", (-95.37, 29.76), False),
                              ("Chicago", (-87.63, 41.88), False)]:
    if inside(place, band) != expected:
        fail("%s should lie %s the path polygon" % (name, "in" if expected else "outside"))

root = ET.parse(kml_file).getroot()
ns = "{http://www.opengis.net/kml/2.2}"
if root.tag != ns + "kml":
    fail("root is not KML 2.2")
styles = {s.get("id") for s in root.iter(ns + "Style")}
if not styles:
    fail("KML without styles")
placemarks = root.findall(".//" + ns + "Placemark")
kml_polygons = 0
if len(placemarks) != len(collection["features"]):
    fail("KML and GeoJSON hold different features")
for p in placemarks:
    if p.find(ns + "name") is None:
        fail("placemark without a name")
    url = p.find(ns + "styleUrl")
    if url is None or url.text[1:] not in styles:
        fail("placemark without a style of the document")
    for ring in p.iter(ns + "LinearRing"):
        kml_polygons += 1
        positions = ring.find(ns + "coordinates").text.split()
        if len(positions) < 4 or positions[0] != positions[-1]:
            fail("KML polygon ring not closed")
    for c in p.iter(ns + "coordinates"):
        for position in c.text.split():
            lon, lat = map(float, position.split(","))
            if not (-180 <= lon <= 180 and -90 <= lat <= 90):
                fail("KML position out of range")


if kml_polygons < 1:
    fail("KML without the path's polygon")


def distance_km(a, b):
    (lon1, lat1), (lon2, lat2) = a, b
    p1, p2 = math.radians(lat1), math.radians(lat2)
    h = (math.sin((p2 - p1) / 2) ** 2 +
         math.cos(p1) * math.cos(p2) * math.sin(math.radians(lon2 - lon1) / 2) ** 2)
    return 2 * 6371.0 * math.asin(math.sqrt(h))


def nearest_km(place, parts):
    best = 1e9
    for part in parts:
        for a, b in zip(part, part[1:]):
            for k in range(21):
                f = k / 20
                best = min(best, distance_km(place, (a[0] + f * (b[0] - a[0]),
                                                     a[1] + f * (b[1] - a[1]))))
    return best


dallas = (-96.80, 32.78)
to_central = nearest_km(dallas, lines["Central line"])
to_north = nearest_km(dallas, lines["Northern limit of the path"])
to_south = nearest_km(dallas, lines["Southern limit of the path"])
print("Dallas: %.1f km from the central line, %.1f from the northern limit, %.1f from the "
      "southern" % (to_central, to_north, to_south))
if not 38 <= to_central <= 54:
    fail("Dallas should lie about 46 km from the central line")
if not (to_north < to_south and to_central + to_north < to_south):
    fail("Dallas should lie between the central line and the northern limit")
print("ok")
