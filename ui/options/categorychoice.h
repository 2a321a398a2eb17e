#pragma once

#include "ui/options/categorychooser.h"

// The category title the user chose in the chooser, read once the chooser ended with OK.
template <typename Chooser> QString ChosenCategoryTitle([[maybe_unused]] const Chooser &chooser)
{
    if constexpr (requires { chooser.chosenTitle(); })
        return chooser.chosenTitle();
    else
        return QString();
}
