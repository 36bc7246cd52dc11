import QtQuick
import QtQuick.Controls.Basic

// An entry of a ThemedMenu. A screen reader's press chooses it as a click does: the entry is
// triggered and the menu closes. (Qt 6.4 gives a menu entry no press action of its own.)
MenuItem {
    id: entry
    Accessible.onPressAction: {
        entry.triggered()
        if (entry.menu)
            entry.menu.close()
    }
}
