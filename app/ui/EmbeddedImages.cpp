#include "app/ui/EmbeddedImages.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace
{
    struct MemorySource
    {
        png_const_bytep data;
        size_t size;
        size_t position;
    };

    void readFromMemory (png_structp png, png_bytep destination, size_t length)
    {
        auto& source = *static_cast<MemorySource*> (png_get_io_ptr (png));

        if (length > source.size - source.position)
            png_error (png, "truncated");

        std::memcpy (destination, source.data + source.position, length);
        source.position += length;
    }

    [[noreturn]] void onError (png_structp png, png_const_charp)
    {
        png_longjmp (png, 1);
    }

    void onWarning (png_structp, png_const_charp)
    {
    }

    /** Owns libpng's two structures. */
    struct PngReader
    {
        PngReader()
            : png (png_create_read_struct (PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning)),
              info (png != nullptr ? png_create_info_struct (png) : nullptr)
        {
        }

        ~PngReader()
        {
            if (png != nullptr)
                png_destroy_read_struct (&png, info != nullptr ? &info : nullptr, nullptr);
        }

        png_structp png;
        png_infop info;

        JUCE_DECLARE_NON_COPYABLE (PngReader)
    };

    struct Header
    {
        png_uint_32 width = 0, height = 0;
        int bitDepth = 0, colourType = 0;
        int numTransparent = 0;
        bool hasTransparencyChunk = false;

        /** As JUCE's loader decides it: an alpha channel or transparent colours. */
        bool hasAlpha() const noexcept  { return (colourType & PNG_COLOR_MASK_ALPHA) != 0 || numTransparent != 0; }

        /** A palette image without transparency: its rows can be read as indices
            and looked up straight into an RGB image.
        */
        bool isIndexed() const noexcept { return colourType == PNG_COLOR_TYPE_PALETTE && ! hasTransparencyChunk && ! hasAlpha(); }
    };

    enum class RowFormat
    {
        indices,            // one byte a pixel, an index into the palette
        pixelRGB,           // three bytes a pixel, in the order of juce::PixelRGB
        rgba                // R G B A, as JUCE's loader reads every image
    };

    //==============================================================================
    // libpng reports errors by a longjmp back to the setjmp in these functions,
    // so they and the functions they call hold nothing that needs destroying.

    bool readHeader (png_structp png, png_infop info, Header& header) noexcept
    {
        if (setjmp (png_jmpbuf (png)) != 0)
            return false;

        png_read_info (png, info);

        int interlaceType = 0;
        png_get_IHDR (png, info, &header.width, &header.height, &header.bitDepth, &header.colourType,
                      &interlaceType, nullptr, nullptr);

        png_bytep transparentAlphas = nullptr;
        png_color_16p transparentColour = nullptr;
        png_get_tRNS (png, info, &transparentAlphas, &header.numTransparent, &transparentColour);
        header.hasTransparencyChunk = png_get_valid (png, info, PNG_INFO_tRNS) != 0;

        // The rows of an interlaced image arrive in several passes.
        return interlaceType == PNG_INTERLACE_NONE;
    }

    /** Asks libpng for rows in the given format, with the conversions JUCE's
        loader asks for where they apply: 8 bits a channel, palettes and grey
        expanded to RGB, transparency expanded to alpha.
    */
    bool chooseRowFormat (png_structp png, png_infop info, const Header& header, RowFormat format,
                          bool pixelRGBIsBGR, size_t expectedRowBytes) noexcept
    {
        if (setjmp (png_jmpbuf (png)) != 0)
            return false;

        if (format == RowFormat::indices)
        {
            if (header.bitDepth < 8)
                png_set_packing (png);
        }
        else
        {
            if (header.bitDepth == 16)
                png_set_strip_16 (png);

            if (header.colourType == PNG_COLOR_TYPE_PALETTE || header.bitDepth < 8 || header.hasTransparencyChunk)
                png_set_expand (png);

            if (header.colourType == PNG_COLOR_TYPE_GRAY || header.colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
                png_set_gray_to_rgb (png);

            if (format == RowFormat::rgba)
                png_set_add_alpha (png, 0xff, PNG_FILLER_AFTER);
            else if (pixelRGBIsBGR)
                png_set_bgr (png);
        }

        png_read_update_info (png, info);
        return png_get_rowbytes (png, info) == expectedRowBytes;
    }

    /** The palette as juce::PixelRGB bytes, each in the first three bytes of a
        32-bit entry so that a pixel can be stored with one four-byte copy; black
        for indices past its end, as libpng has.
    */
    bool readPalette (png_structp png, png_infop info, juce::uint32 (&table)[256]) noexcept
    {
        if (setjmp (png_jmpbuf (png)) != 0)
            return false;

        png_colorp palette = nullptr;
        int numColours = 0;

        if (png_get_PLTE (png, info, &palette, &numColours) == 0 || palette == nullptr)
            return false;

        for (int i = 0; i < 256; ++i)
        {
            const auto c = i < numColours ? palette[i] : png_color { 0, 0, 0 };

            juce::PixelRGB pixel;
            pixel.setARGB (0, c.red, c.green, c.blue);

            juce::uint8 bytes[4] {};
            std::memcpy (bytes, &pixel, sizeof (pixel));
            std::memcpy (&table[i], bytes, sizeof (bytes));
        }

        return true;
    }

    /** The conversion JUCE's loader makes from R G B A to a premultiplied pixel. */
    void convertRowWithAlpha (const png_byte* source, juce::uint8* destination, int width, int pixelStride) noexcept
    {
        for (int i = width; --i >= 0;)
        {
            auto* pixel = reinterpret_cast<juce::PixelARGB*> (destination);
            pixel->setARGB (source[3], source[0], source[1], source[2]);
            pixel->premultiply();
            destination += pixelStride;
            source += 4;
        }
    }

    struct RowTarget
    {
        const juce::Image::BitmapData& pixels;
        RowFormat format;
        png_bytep rowBuffer;                    // nullptr when rows go straight into the image
        const juce::uint32* palette;
    };

    void copyRows (png_structp png, png_infop info, const RowTarget& target) noexcept
    {
        const auto& pixels = target.pixels;

        for (int y = 0; y < pixels.height; ++y)
        {
            auto* line = pixels.getLinePointer (y);

            if (target.rowBuffer == nullptr)
            {
                png_read_row (png, line, nullptr);
                continue;
            }

            png_read_row (png, target.rowBuffer, nullptr);

            if (target.format == RowFormat::indices)
            {
                // Four bytes a pixel, three apart: the fourth is the next pixel's
                // first, written again with it. The last pixel takes only its three.
                const auto* indices = target.rowBuffer;
                const auto* palette = target.palette;
                const auto last = pixels.width - 1;

                for (int x = 0; x < last; ++x)
                    std::memcpy (line + 3 * x, palette + indices[x], 4);

                std::memcpy (line + 3 * last, palette + indices[last], 3);
            }
            else
            {
                convertRowWithAlpha (target.rowBuffer, line, pixels.width, pixels.pixelStride);
            }
        }

        png_read_end (png, info);
    }

    bool readRows (png_structp png, png_infop info, const RowTarget& target) noexcept
    {
        if (setjmp (png_jmpbuf (png)) != 0)
            return false;

        copyRows (png, info, target);
        return true;
    }

    bool isPixelRGBInOrder (juce::uint8 first, juce::uint8 second, juce::uint8 third) noexcept
    {
        static_assert (sizeof (juce::PixelRGB) == 3, "rows are copied straight into RGB images");

        juce::PixelRGB pixel;
        pixel.setARGB (0, 1, 2, 3);

        const juce::uint8 expected[] { first, second, third };
        return std::memcmp (&pixel, expected, sizeof (expected)) == 0;
    }
}

//==============================================================================
juce::Image EmbeddedImages::decodePng (const void* data, size_t size)
{
    constexpr size_t signatureSize = 8;

    if (data == nullptr || size < signatureSize || png_sig_cmp (static_cast<png_const_bytep> (data), 0, signatureSize) != 0)
        return {};

    PngReader reader;

    if (reader.png == nullptr || reader.info == nullptr)
        return {};

    MemorySource source { static_cast<png_const_bytep> (data), size, 0 };
    png_set_read_fn (reader.png, &source, readFromMemory);

    // The data is built into the program, not read from outside: checking
    // its zlib checksum would only cost time.
   #ifdef PNG_IGNORE_ADLER32
    png_set_option (reader.png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
   #endif

    Header header;

    if (! readHeader (reader.png, reader.info, header)
          || header.width == 0 || header.height == 0
          || header.width > 16384 || header.height > 16384)
        return {};

    const auto width = (int) header.width;
    const auto height = (int) header.height;

    // As JUCE's loader makes it: ARGB (cleared) when there is any alpha, else RGB.
    juce::Image image (header.hasAlpha() ? juce::Image::ARGB : juce::Image::RGB, width, height, header.hasAlpha());
    image.getProperties()->set ("originalImageHadAlpha", image.hasAlphaChannel());

    const juce::Image::BitmapData pixels (image, juce::Image::BitmapData::writeOnly);
    const auto withAlpha = image.hasAlphaChannel();

    if (! withAlpha && pixels.pixelStride != (int) sizeof (juce::PixelRGB))
        return {};

    const auto isBGR = isPixelRGBInOrder (3, 2, 1);
    const auto format = withAlpha ? RowFormat::rgba
                                  : (header.isIndexed() ? RowFormat::indices : RowFormat::pixelRGB);

    if (format == RowFormat::pixelRGB && ! (isBGR || isPixelRGBInOrder (1, 2, 3)))
        return {};

    const size_t bytesPerPixel = format == RowFormat::indices ? 1 : (format == RowFormat::pixelRGB ? 3 : 4);
    const auto rowBytes = (size_t) width * bytesPerPixel;

    if (! chooseRowFormat (reader.png, reader.info, header, format, isBGR, rowBytes))
        return {};

    juce::uint32 palette[256] {};

    if (format == RowFormat::indices && ! readPalette (reader.png, reader.info, palette))
        return {};

    juce::HeapBlock<png_byte> rowBuffer;

    if (format != RowFormat::pixelRGB)
        rowBuffer.malloc (rowBytes);

    if (! readRows (reader.png, reader.info, { pixels, format, rowBuffer.get(), palette }))
        return {};

    return image;
}

juce::Image EmbeddedImages::getFromMemory (const void* data, int size)
{
    // The key juce::ImageCache::getFromMemory files an image under.
    const auto hashCode = (juce::int64) (juce::pointer_sized_int) data;
    auto image = juce::ImageCache::getFromHashCode (hashCode);

    if (image.isValid())
        return image;

    image = decodePng (data, (size_t) size);

    if (! image.isValid())
        return juce::ImageCache::getFromMemory (data, size);

    juce::ImageCache::addImageToCache (image, hashCode);
    return image;
}
