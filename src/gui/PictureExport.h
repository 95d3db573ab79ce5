// A picture of the program written as a file: the 24-bit bitmap of the
// specified commands (the core's BitmapFile), PNG with the same pixels, and
// SVG and PDF painted as vector lines, areas and texts; every format written
// whole or not at all (the core's PictureFile).
#pragma once

#include "map/PictureFormat.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

class QPainter;

namespace kavrin {

// Writes `picture` at exactly `path`, replacing any file there; a failure
// leaves an earlier file intact and throws FileError naming its cause.
void WriteBitmap(const QImage& picture, const QString& path);

// What a picture is in every format: its exact pixels (the bitmap and the
// PNG) and its painting on a page of `size` units (SVG and PDF, one unit a
// pixel of the bitmap).
struct PictureSource {
    QSize size;
    std::function<QImage()> pixels;
    std::function<void(QPainter&)> paint;
};

// The file's bytes in `format`.
QByteArray EncodePicture(const PictureSource& picture, PictureFormat format);

// Writes `picture` in `format` at exactly `path`, as WriteBitmap does.
void WritePicture(const PictureSource& picture, PictureFormat format, const QString& path);

// One PDF of `pages` pages of `size` units, page n painted by `paintPage`(n,
// painter) in turn, written at exactly `path` as WriteBitmap does.
void WritePdfPages(const QString& path, QSize size, int pages, const std::function<void(int, QPainter&)>& paintPage);

// Every format above is written by Qt's own PNG writer, its SVG and PDF
// painters or the core: no image plugin is ever needed. A program that only
// writes pictures calls this after its QGuiApplication starts, so that
// writing a PNG does not load every installed image plugin (and the
// libraries they link) to ask each whether it writes PNG.
void UseBuiltInPictureFormats();

}  // namespace kavrin
