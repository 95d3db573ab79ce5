// Opening a page in the desktop's web browser. The browser is looked up as a
// browser (BROWSER, the desktop's default web browser, the handler of http(s)
// links), never as whatever the desktop opens HTML files with: that may be a
// text editor.
#pragma once

#include <QStringList>
#include <QUrl>

namespace kavrin {

// The program and arguments that open `url` in the desktop's web browser;
// empty when the desktop has none that can be started without a terminal.
QStringList WebBrowserCommand(const QUrl& url);

// Starts the browser on `url` without waiting for it; false when no browser
// was found or it could not be started.
bool OpenInWebBrowser(const QUrl& url);

}  // namespace kavrin
