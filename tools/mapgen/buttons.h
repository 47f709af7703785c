// The faces of the control panel's bitmap buttons.
#pragma once

#include <QImage>
#include <QString>

#include <vector>

namespace mapgen {

enum class ButtonSymbol { Caption, Plus, Minus, Play, Stop, Blank };

struct ButtonFace {
    int id;       // bitmap number
    QString stem; // file name without the extension
    int width;    // pixels
    int height;   // pixels
    ButtonSymbol symbol;
    QString caption; // for ButtonSymbol::Caption
    bool pressed;
};

// Every button bitmap the program carries, numbers 130 to 147.
std::vector<ButtonFace> ButtonFaces();

QImage DrawButton(const ButtonFace& face);

} // namespace mapgen
