#pragma once

namespace vexa::graphs {

/// What graph windows tell the frame about themselves.
class GraphHost {
public:
    virtual ~GraphHost() = default;
    /// A graph window was moved or resized: its placement can be saved or
    /// rebuilt ("&Save Window Sizes", "&ReInitialize Windows").
    virtual void graphWindowMoved() = 0;
    /// A graph window was activated or deactivated: the page commands
    /// ("Graph &Attributes", "Print Current &Page", "&Copy Current Page To
    /// Clipboard") apply only while \p pageCommandsApply.
    virtual void graphWindowActivated(bool pageCommandsApply) = 0;
    /// A graph window has closed and its record is cleared: the frame
    /// updates its title and menus.
    virtual void graphWindowClosed() = 0;
};

}  // namespace vexa::graphs
