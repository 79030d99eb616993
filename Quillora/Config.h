// Compiled-in configuration, and where the application keeps its files.
#pragma once

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
};
