// platform/core/gdi_text_internal.h - the font objects behind HFONT. Not for
// the engine.
//
// A font object is a PlatformGdiObject of kind GdiKind::Font whose extra
// points to a FontObject: the LOGFONTA it was made from and the realised
// font of the rasteriser. DeleteObject hands a font object to FreeFontObject
// before freeing the object itself.
#pragma once

#include "platform/core/font_raster.h"
#include "platform/gdi_text.h"

namespace ovPlatform::detail {

struct FontObject {
    LOGFONTA logFont;
    fonts::FontRef font;
};

// The font object's own data, or null when object is not a live font.
FontObject* AsFontObject(PlatformGdiObject* object);
// Frees what a font object keeps behind extra (the object itself stays).
void FreeFontObject(PlatformGdiObject* object);
// The rasteriser's font a DC draws with: its selected font, or the default.
fonts::Font& DcFont(PlatformDc* dc);

}  // namespace ovPlatform::detail
