#pragma once

#include <QIcon>

// Icons for the commands that have no fitting one in every desktop theme:
// the theme's own when it has it, otherwise drawn here.
namespace Icons {

// Two corner marks of a crop.
QIcon crop();
// A frame with an arrow from its corner, growing or shrinking it.
QIcon scale();
// A picture between two bars, with the marks of a crop around it.
QIcon borders();
// A frame with a shape and the trail it leaves as it moves.
QIcon motion();
// A keyframe's diamond above a timeline.
QIcon keyframe();
// A tall frame around a moving point.
QIcon follow();

} // namespace Icons
