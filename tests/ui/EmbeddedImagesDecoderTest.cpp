#include "app/ui/EmbeddedImages.h"

#include "BinaryData.h"

#include <png.h>

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstring>
#include <vector>

namespace
{

// The editor decodes its images with its own row-by-row PNG decoder; these
// check that it gives exactly what JUCE's loader gives.

juce::Image decodeWithJuce (const void* data, size_t size)
{
    return juce::ImageFileFormat::loadFrom (data, size);
}

void expectSameImage (const juce::Image& actual, const juce::Image& expected)
{
    ASSERT_TRUE (actual.isValid());
    ASSERT_TRUE (expected.isValid());
    ASSERT_EQ (actual.getFormat(), expected.getFormat());
    ASSERT_EQ (actual.getWidth(), expected.getWidth());
    ASSERT_EQ (actual.getHeight(), expected.getHeight());
    EXPECT_EQ (actual.getProperties()->getWithDefault ("originalImageHadAlpha", "unset"),
               expected.getProperties()->getWithDefault ("originalImageHadAlpha", "unset"));

    const juce::Image::BitmapData a (actual, juce::Image::BitmapData::readOnly);
    const juce::Image::BitmapData b (expected, juce::Image::BitmapData::readOnly);
    ASSERT_EQ (a.pixelStride, b.pixelStride);

    for (int y = 0; y < a.height; ++y)
        ASSERT_EQ (std::memcmp (a.getLinePointer (y), b.getLinePointer (y), (size_t) (a.width * a.pixelStride)), 0)
            << "row " << y;
}

//==============================================================================
struct PngLayout
{
    int width = 37, height = 23;
    int colourType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    bool interlaced = false;
    bool transparency = false;
    int paletteSize = 0;        // 0: as many colours as the bit depth can index
};

void writeToBlock (png_structp png, png_bytep data, size_t length)
{
    static_cast<juce::MemoryOutputStream*> (png_get_io_ptr (png))->write (data, length);
}

void flushNothing (png_structp)
{
}

int channelsOf (int colourType)
{
    switch (colourType)
    {
        case PNG_COLOR_TYPE_GRAY:       return 1;
        case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
        case PNG_COLOR_TYPE_RGB:        return 3;
        case PNG_COLOR_TYPE_RGB_ALPHA:  return 4;
        default:                        return 1;
    }
}

bool encode (png_structp png, png_infop info, const PngLayout& layout, juce::MemoryOutputStream& out,
             png_bytepp rows, png_colorp palette, png_bytep paletteAlphas, png_color_16p transparentColour) noexcept
{
    if (setjmp (png_jmpbuf (png)) != 0)
        return false;

    png_set_write_fn (png, &out, writeToBlock, flushNothing);

    // Lets indices past the end of a short palette through, as a reader can meet them.
    png_set_check_for_invalid_index (png, 0);
    png_set_IHDR (png, info, (png_uint_32) layout.width, (png_uint_32) layout.height, layout.bitDepth, layout.colourType,
                  layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                  PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);

    if (layout.colourType == PNG_COLOR_TYPE_PALETTE)
    {
        const auto numColours = layout.paletteSize > 0 ? layout.paletteSize : 1 << layout.bitDepth;
        png_set_PLTE (png, info, palette, numColours);

        if (layout.transparency)
            png_set_tRNS (png, info, paletteAlphas, numColours / 2, nullptr);
    }
    else if (layout.transparency)
    {
        png_set_tRNS (png, info, nullptr, 0, transparentColour);
    }

    png_write_info (png, info);
    png_write_image (png, rows);
    png_write_end (png, info);
    return true;
}

juce::MemoryBlock makePng (const PngLayout& layout)
{
    const auto bitsPerPixel = channelsOf (layout.colourType) * layout.bitDepth;
    const auto rowBytes = (size_t) ((layout.width * bitsPerPixel + 7) / 8);

    juce::Random random (layout.colourType * 100 + layout.bitDepth);
    std::vector<png_byte> pixels (rowBytes * (size_t) layout.height);

    for (auto& byte : pixels)
        byte = (png_byte) random.nextInt (256);

    // A run of one colour, so the transparent colour occurs.
    std::fill (pixels.begin(), pixels.begin() + (std::ptrdiff_t) rowBytes, (png_byte) 0x11);

    std::vector<png_bytep> rows;

    for (int y = 0; y < layout.height; ++y)
        rows.push_back (pixels.data() + rowBytes * (size_t) y);

    std::vector<png_color> palette (256);
    std::vector<png_byte> paletteAlphas (256);

    for (size_t i = 0; i < palette.size(); ++i)
    {
        palette[i] = { (png_byte) (i * 7), (png_byte) (255 - i), (png_byte) (i * 3 + 1) };
        paletteAlphas[i] = (png_byte) (i * 37);
    }

    const auto grey = (png_uint_16) (layout.bitDepth == 16 ? 0x1111 : 0x11 & ((1 << layout.bitDepth) - 1));
    png_color_16 transparentColour { 0, grey, grey, grey, grey };

    juce::MemoryOutputStream out;
    auto png = png_create_write_struct (PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    auto info = png_create_info_struct (png);
    const auto ok = encode (png, info, layout, out, rows.data(), palette.data(), paletteAlphas.data(), &transparentColour);
    png_destroy_write_struct (&png, &info);

    EXPECT_TRUE (ok);
    return out.getMemoryBlock();
}

juce::String describe (const PngLayout& layout)
{
    return "colour type " + juce::String (layout.colourType) + ", " + juce::String (layout.bitDepth) + " bits"
         + (layout.transparency ? ", tRNS" : "") + (layout.interlaced ? ", interlaced" : "")
         + (layout.paletteSize > 0 ? ", " + juce::String (layout.paletteSize) + " colours" : juce::String());
}

} // namespace

TEST (EmbeddedImageDecoding, TheProgramsImagesDecodeAsWithJuce)
{
    const std::pair<const char*, int> images[] {
        { BinaryData::bg_png, BinaryData::bg_pngSize },
        { BinaryData::prod_png, BinaryData::prod_pngSize },
        { BinaryData::ZorvaneLogo_png, BinaryData::ZorvaneLogo_pngSize },
    };

    for (auto [data, size] : images)
        expectSameImage (EmbeddedImages::decodePng (data, (size_t) size), decodeWithJuce (data, (size_t) size));
}

TEST (EmbeddedImageDecoding, EveryPngFormatDecodesAsWithJuce)
{
    std::vector<PngLayout> layouts;

    for (int depth : { 1, 2, 4, 8, 16 })
        for (bool transparency : { false, true })
            layouts.push_back ({ 37, 23, PNG_COLOR_TYPE_GRAY, depth, false, transparency });

    for (int depth : { 1, 2, 4, 8 })
        for (bool transparency : { false, true })
            layouts.push_back ({ 37, 23, PNG_COLOR_TYPE_PALETTE, depth, false, transparency });

    // Indices past the end of the palette.
    for (bool transparency : { false, true })
        layouts.push_back ({ 37, 23, PNG_COLOR_TYPE_PALETTE, 8, false, transparency, 100 });

    for (int type : { PNG_COLOR_TYPE_RGB, PNG_COLOR_TYPE_RGB_ALPHA, PNG_COLOR_TYPE_GRAY_ALPHA })
        for (int depth : { 8, 16 })
            layouts.push_back ({ 37, 23, type, depth, false, false });

    for (int depth : { 8, 16 })
        layouts.push_back ({ 37, 23, PNG_COLOR_TYPE_RGB, depth, false, true });

    layouts.push_back ({ 1, 1, PNG_COLOR_TYPE_RGB, 8, false, false });

    for (const auto& layout : layouts)
    {
        SCOPED_TRACE (describe (layout).toStdString());
        const auto png = makePng (layout);
        expectSameImage (EmbeddedImages::decodePng (png.getData(), png.getSize()), decodeWithJuce (png.getData(), png.getSize()));
    }
}

TEST (EmbeddedImageDecoding, InterlacedImagesAreLeftToJuce)
{
    const auto png = makePng ({ 37, 23, PNG_COLOR_TYPE_RGB_ALPHA, 8, true, false });

    EXPECT_FALSE (EmbeddedImages::decodePng (png.getData(), png.getSize()).isValid());
    expectSameImage (EmbeddedImages::getFromMemory (png.getData(), (int) png.getSize()),
                     decodeWithJuce (png.getData(), png.getSize()));
}

TEST (EmbeddedImageDecoding, DamagedOrForeignDataGivesNoImage)
{
    const auto png = makePng ({});

    EXPECT_FALSE (EmbeddedImages::decodePng (nullptr, 0).isValid());
    EXPECT_FALSE (EmbeddedImages::decodePng ("GIF89a", 6).isValid());

    for (size_t size : { (size_t) 8, (size_t) 40, png.getSize() / 2, png.getSize() - 13 })
        EXPECT_FALSE (EmbeddedImages::decodePng (png.getData(), size).isValid()) << size;

    juce::MemoryBlock damaged (png);
    static_cast<char*> (damaged.getData())[damaged.getSize() / 2] ^= 0x5a;
    EXPECT_FALSE (EmbeddedImages::decodePng (damaged.getData(), damaged.getSize()).isValid());
}

TEST (EmbeddedImageDecoding, SharesTheImageCacheWithJuce)
{
    const auto ours = EmbeddedImages::getFromMemory (BinaryData::prod_png, BinaryData::prod_pngSize);
    const auto juces = juce::ImageCache::getFromMemory (BinaryData::prod_png, BinaryData::prod_pngSize);

    EXPECT_TRUE (ours == juces);
    EXPECT_TRUE (EmbeddedImages::getFromMemory (BinaryData::prod_png, BinaryData::prod_pngSize) == ours);
}
