"""Reads the KML and GeoJSON of kestrova-cli map with strict parsers and checks
them against RFC 7946 / KML 2.2 rules and a place known to lie in the path:
Dallas (32.78 N, 96.80 W), about 46 km north-west of the central line of
2024 April 8, between it and the northern limit."""
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
for feature in collection["features"]:
    if feature.get("type") != "Feature" or "name" not in feature["properties"]:
        fail("feature without type or name")
    geometry = feature["geometry"]
    parts = [[geometry["coordinates"]]] if geometry["type"] == "Point" else None
    if geometry["type"] == "MultiLineString":
        parts = geometry["coordinates"]
    if parts is None:
        fail("unexpected geometry " + geometry["type"])
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

root = ET.parse(kml_file).getroot()
ns = "{http://www.opengis.net/kml/2.2}"
if root.tag != ns + "kml":
    fail("root is not KML 2.2")
placemarks = root.findall(".//" + ns + "Placemark")
if len(placemarks) != len(collection["features"]):
    fail("KML and GeoJSON hold different features")
for p in placemarks:
    if p.find(ns + "name") is None:
        fail("placemark without a name")
    for c in p.iter(ns + "coordinates"):
        for position in c.text.split():
            lon, lat = map(float, position.split(","))
            if not (-180 <= lon <= 180 and -90 <= lat <= 90):
                fail("KML position out of range")


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
