import QtQuick
import QtQuick.Controls
import Velmora

// A switch drawn for the panel's dark material: a pill track, accent when on, and a round
// knob that slides across.
Switch {
    id: control

    indicator: Rectangle {
        implicitWidth: PanelStyle.switchWidth
        implicitHeight: PanelStyle.switchHeight
        x: control.leftPadding
        y: control.topPadding + (control.availableHeight - height) / 2
        radius: height / 2
        color: control.checked ? PanelStyle.accent : PanelStyle.controlFill
        border.color: control.checked ? PanelStyle.accent : PanelStyle.divider

        Rectangle {
            x: control.checked ? parent.width - width - PanelStyle.switchKnobInset
                               : PanelStyle.switchKnobInset
            y: PanelStyle.switchKnobInset
            width: parent.height - 2 * PanelStyle.switchKnobInset
            height: width
            radius: width / 2
            color: control.pressed ? PanelStyle.secondary : PanelStyle.primary

            Behavior on x {
                NumberAnimation {
                    duration: PanelStyle.switchAnimationMs
                    easing.type: Easing.OutCubic
                }
            }
        }
    }
}
