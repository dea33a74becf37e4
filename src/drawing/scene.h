// The point layers, the coordinate grid and the search ring of one redraw.
#pragma once

#include <functional>
#include <vector>

#include "drawing/draw_target.h"
#include "points/point_grid_index.h"
#include "points/point_store.h"

namespace merilon {

enum class PointLayer { Markers, Symbols, Heights, Numbers };

// Colour index of a point in a layer (3 for type 9 in every layer; black while printing with
// DRUKAR 1).
int pointColour(PointLayer layer, std::int32_t type, bool blackPrint);

// Draws one point layer in index order, visiting only the `candidates` when given (they must
// include every point that can show). `progress` runs after every 1000 points and answers false
// when the redraw must stop.
bool drawPointLayer(DrawTarget& target, const PointStore& points, PointLayer layer,
                    double labelSize, bool blackPrint, const std::function<bool()>& progress,
                    const std::vector<int>* candidates = nullptr);

// The points, in index order, near enough to the view for a label of any of the given sizes
// (symbols, heights, numbers) to show: the label layers then visit only these. With a grid only
// the points of the cells near the view are tested.
std::vector<int> labelCandidates(DrawTarget& target, const PointStore& points, double symbolSize,
                                 double heightSize, double numberSize,
                                 PointGridIndex* grid = nullptr);

// Puts into `near`, in index order, the points within `margin` pixels of the view, finding them
// through the grid; false when the view takes in (nearly) every point, so that walking the whole
// store is cheaper.
bool pointsNearView(DrawTarget& target, const PointStore& points, double margin,
                    PointGridIndex& grid, std::vector<int>& near);

// The world box round the view widened by `margin` pixels (the view may be turned).
WorldBox viewWorldBox(const ViewTransform& view, double margin);

// Longest label text of each layer, for the margins: a name, "-99999999.00", "999999999 ".
inline constexpr std::size_t kSymbolTextLength = 16, kHeightTextLength = 13, kNumberTextLength = 12;

// The grid of crosses every `spacing` metres; nothing when the spacing is 1.0 or less or when
// its step is 80 pixels or less on the surface.
void drawGrid(DrawTarget& target, double spacing, bool blackPrint);

// The ring of 40 pixels round a found point.
void drawSearchRing(DrawTarget& target, double x, double y);

}  // namespace merilon
