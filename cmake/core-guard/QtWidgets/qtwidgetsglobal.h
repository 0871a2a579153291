// Stands first on the include path of the core library: every QtWidgets header includes
// this one, so a widget include in core code stops the build here.
#error "core code must not use QtWidgets: move the widget code into the UI library"
