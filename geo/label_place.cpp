#include "geo/label_place.h"

bool Overlap(const LabelBox& a, const LabelBox& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

std::optional<LabelBox> PlaceLabel(std::vector<LabelBox>& placed,
                                   std::span<const LabelBox> candidates, const LabelBox& area) {
    for (const LabelBox& c : candidates) {
        const bool inside = c.left >= area.left && c.top >= area.top &&
                            c.left + c.width <= area.left + area.width &&
                            c.top + c.height <= area.top + area.height;
        if (!inside) {
            continue;
        }
        bool clear = true;
        for (const LabelBox& p : placed) {
            if (Overlap(c, p)) {
                clear = false;
                break;
            }
        }
        if (clear) {
            placed.push_back(c);
            return c;
        }
    }
    return std::nullopt;
}
