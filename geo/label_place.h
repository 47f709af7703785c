#pragma once

// Labels that never overlap: each takes the first of its candidate places that lies in
// the area and clear of every label placed before it. No Qt here.

#include <optional>
#include <span>
#include <vector>

struct LabelBox {
    double left = 0.0; // window pixels
    double top = 0.0;
    double width = 0.0;
    double height = 0.0;
};

bool Overlap(const LabelBox& a, const LabelBox& b);

// The first candidate inside area and clear of placed, which it joins; none when every
// candidate collides (the label is then left out).
std::optional<LabelBox> PlaceLabel(std::vector<LabelBox>& placed,
                                   std::span<const LabelBox> candidates, const LabelBox& area);
