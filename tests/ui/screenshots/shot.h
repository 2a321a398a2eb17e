#pragma once

#include <QPixmap>
#include <QString>
#include <functional>

class Platform;
class TClientServiceInfo;

// What a screenshot renders against: a client state in a fresh app directory holding the
// shipped files, and the platform.
struct ShotContext
{
    TClientServiceInfo &info;
    Platform &platform;
};

using ShotRenderer = std::function<QPixmap(ShotContext &)>;

// Each *_shots.cpp file registers its windows with one static ShotRegistrar per picture; the
// picture is written as build/screenshots/<name>.png.
struct ShotRegistrar
{
    ShotRegistrar(const char *name, ShotRenderer renderer);
};

// Shows `widget` offscreen, lets it lay out and paint, and grabs it.
QPixmap GrabShown(class QWidget &widget);
