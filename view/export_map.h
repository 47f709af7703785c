#pragma once

// "File > Export...": the map as the window shows it, in the format its file name
// asks for: .png the map area without the control panel, .pdf the same as vectors,
// .kml or .geojson the eclipse of the last map command. Every format is written to a
// temporary file beside the target and renamed over it, so a failed write leaves no
// half-written file.

#include <QString>

class CKestrovaView;

// The file-dialog filters of the four formats.
QString ExportFileFilters();

// Adds the suffix of the chosen filter when file has none of the four.
QString WithExportSuffix(const QString& file, const QString& chosenFilter);

// Writes the export; returns an empty string or the reason it failed.
QString ExportMap(CKestrovaView& view, const QString& file);
