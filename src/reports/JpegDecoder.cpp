#include "reports/JpegDecoder.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void onError(j_common_ptr info)
{
    auto *manager = reinterpret_cast<ErrorManager *>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

void onMessage(j_common_ptr, int)
{
    // Warnings about slightly damaged data are not worth a word.
}

} // namespace

QImage JpegDecoder::decode(const QByteArray &jpeg, QString *error)
{
    if (jpeg.isEmpty()) {
        if (error)
            *error = QStringLiteral("empty picture");
        return QImage();
    }

    jpeg_decompress_struct info;
    ErrorManager manager;
    info.err = jpeg_std_error(&manager.base);
    manager.base.error_exit = onError;
    manager.base.emit_message = onMessage;
    manager.message[0] = '\0';

    // Everything that must survive a longjmp lives outside this frame's
    // automatic variables or is volatile.
    QImage *volatile image = nullptr;
    if (setjmp(manager.jump)) {
        jpeg_destroy_decompress(&info);
        delete image;
        if (error)
            *error = QString::fromLocal8Bit(manager.message);
        return QImage();
    }

    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(jpeg.constData()),
                 static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    // Grey, colour and CMYK pictures all come out as RGB, except CMYK,
    // which libjpeg leaves as it is.
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK)
        info.out_color_space = JCS_CMYK;
    else
        info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);

    const int width = int(info.output_width);
    const int height = int(info.output_height);
    const bool cmyk = info.out_color_space == JCS_CMYK;
    image = new QImage(width, height, QImage::Format_RGB888);
    if (image->isNull()) {
        std::snprintf(manager.message, sizeof manager.message, "picture of %dx%d pixels is too large", width, height);
        std::longjmp(manager.jump, 1);
    }
    // Row memory from libjpeg's own pool, released with the decompressor.
    JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                               info.output_width * JDIMENSION(info.output_components), 1);
    while (info.output_scanline < info.output_height) {
        const int y = int(info.output_scanline);
        jpeg_read_scanlines(&info, row, 1);
        uchar *out = image->scanLine(y);
        const uchar *in = row[0];
        for (int x = 0; x < width; ++x) {
            if (cmyk) {
                // Adobe writes CMYK inverted; K scales the rest.
                const int k = in[4 * x + 3];
                for (int c = 0; c < 3; ++c)
                    out[3 * x + c] = uchar(in[4 * x + c] * k / 255);
            } else {
                out[3 * x] = in[3 * x];
                out[3 * x + 1] = in[3 * x + 1];
                out[3 * x + 2] = in[3 * x + 2];
            }
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);

    QImage result = *image;
    delete image;
    return result;
}
