#pragma once

// A picture carried in the program as premultiplied ARGB32 pixels, row after
// row without padding; made at build time from images/*.png.
struct PackedPicture {
    const char *name; // the PNG file's name without ".png"
    int width;
    int height;
    const unsigned char *pixels;
};

// Every packed picture, ended by an entry whose name is null.
extern const PackedPicture PackedPictures[];
