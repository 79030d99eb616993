// Compiled-in configuration, and where the application keeps its files.
#pragma once

#include <QByteArray>
#include <QString>

struct Config {
    Config() = delete;

    // The settings a person may edit by hand (an INI file):
    // $XDG_CONFIG_HOME/quillora/quillora.conf, ~/.config/quillora/quillora.conf.
    static QString configurationFile();
    // My stations: stations.csv in the application's data folder
    // (~/.local/share/quillora/ once the application is named "quillora").
    static QString myStationsFile();
    // The environment variable that names a catalogue address.
    static const char* catalogueVariable() { return "QUILLORA_CATALOGUE_URL"; }
    // The "catalogue" key of the settings file as a person may have written
    // it (an unquoted address with commas reads back as a list); empty when
    // there is no file or no key.
    static QString catalogueSetting(const QString& configurationFile);
};

// What the process takes from its environment. The root reads it once, at
// start, and hands each value to the part that uses it.
struct Environment {
    QString catalogue;  // QUILLORA_CATALOGUE_URL: the catalogue when --catalogue is not given
    QString directory;  // QUILLORA_DIRECTORY_URL: one directory server instead of discovery
    QByteArray mpvOptions; // QUILLORA_MPV_OPTIONS: extra libmpv options, for debugging
    QString colorScheme;   // QUILLORA_COLOR_SCHEME: light or dark over the desktop's and the settings' choice

    static Environment read();
};
