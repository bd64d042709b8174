// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/JpegPicture.h"

#include <QFile>
#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jpeglib.h>

namespace {

struct JpegErrors {
    jpeg_error_mgr base;
    std::jmp_buf fatal;
};

// libjpeg's own handler ends the process; a broken picture must only cost the picture.
[[noreturn]] void OnFatalError(j_common_ptr decoder)
{
    std::longjmp(reinterpret_cast<JpegErrors*>(decoder->err)->fatal, 1);
}

void Silent(j_common_ptr) {}

}  // namespace

QImage DecodeJpeg(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return {};
    jpeg_decompress_struct decoder{};
    JpegErrors errors{};
    // Made before setjmp and only written through the pointer, so a jump back leaves it sound.
    const auto image = std::make_unique<QImage>();
    decoder.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnFatalError;
    errors.base.output_message = Silent;
    if (setjmp(errors.fatal)) {
        jpeg_destroy_decompress(&decoder);
        return {};
    }
    jpeg_create_decompress(&decoder);
    jpeg_mem_src(&decoder, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&decoder, TRUE);
    decoder.out_color_space = JCS_RGB;
    jpeg_start_decompress(&decoder);
    *image = QImage(static_cast<int>(decoder.output_width), static_cast<int>(decoder.output_height),
                    QImage::Format_RGB888);
    if (image->isNull() || decoder.output_components != 3) {
        jpeg_destroy_decompress(&decoder);
        return {};
    }
    while (decoder.output_scanline < decoder.output_height) {
        JSAMPROW row = image->scanLine(static_cast<int>(decoder.output_scanline));
        jpeg_read_scanlines(&decoder, &row, 1);
    }
    jpeg_finish_decompress(&decoder);
    jpeg_destroy_decompress(&decoder);
    // Corrupt or missing data is only a warning to libjpeg, which fills the gap with grey.
    if (errors.base.num_warnings > 0)
        return {};
    return *image;
}

QImage LoadJpeg(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return DecodeJpeg(file.readAll());
}
