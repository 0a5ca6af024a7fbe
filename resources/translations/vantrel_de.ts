<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Vantrel — recording paused</source>
        <translation>Vantrel — Aufnahme pausiert</translation>
    </message>
    <message>
        <source>Recording...</source>
        <translation>Aufzeichnung...</translation>
    </message>
    <message>
        <source>Open Vantrel</source>
        <translation>Vantrel öffnen</translation>
    </message>
    <message>
        <source>Open Vantrel Mini</source>
        <translation>Vantrel Mini öffnen</translation>
    </message>
    <message>
        <source>Preferences...</source>
        <translation>Einstellungen...</translation>
    </message>
    <message>
        <source>Rate Us</source>
        <translation>Bewerten</translation>
    </message>
    <message>
        <source>Contact Us</source>
        <translation>Kontakt</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>Pausiert</translation>
    </message>
    <message>
        <source>Ignore the next copy</source>
        <translation>Nächste Kopie ignorieren</translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <source>Vantrel could not read its history and started a new one. The old file is kept as %1.</source>
        <translation>Vantrel konnte seinen Verlauf nicht lesen und hat einen neuen begonnen. Die alte Datei ist als %1 aufbewahrt.</translation>
    </message>
</context>
<context>
    <name>CategoryListViewController</name>
    <message>
        <source>Search Results</source>
        <translation>Suchergebnisse</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message>
        <source>The contents of this item can no longer be found.</source>
        <translation>Der Inhalt dieses Eintrags ist nicht mehr auffindbar.</translation>
    </message>
    <message>
        <source>Paste as Plain Text</source>
        <translation>Als reinen Text einfügen</translation>
    </message>
    <message>
        <source>Copy as Plain Text</source>
        <translation>Als reinen Text kopieren</translation>
    </message>
</context>
<context>
    <name>CategoryViewController</name>
    <message numerus="yes">
        <source>Delete %Ln items?</source>
        <translation>
            <numerusform>%Ln Eintrag löschen?</numerusform>
            <numerusform>%Ln Einträge löschen?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Delete %Ln items? Marked items are deleted too.</source>
        <translation>
            <numerusform>%Ln Eintrag löschen? Markierte Einträge werden ebenfalls gelöscht.</numerusform>
            <numerusform>%Ln Einträge löschen? Markierte Einträge werden ebenfalls gelöscht.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Unmark %Ln items? They stay in the history.</source>
        <translation>
            <numerusform>%Ln Eintrag nicht mehr markieren? Er bleibt im Verlauf.</numerusform>
            <numerusform>%Ln Einträge nicht mehr markieren? Sie bleiben im Verlauf.</numerusform>
        </translation>
    </message>
    <message>
        <source>Sort order</source>
        <translation>Sortierung</translation>
    </message>
    <message>
        <source>Sort</source>
        <translation>Sortieren</translation>
    </message>
    <message>
        <source>Clear the list</source>
        <translation>Liste leeren</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>Markieren</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Unmark</source>
        <translation>Markierung entfernen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>Dialogs</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>DocumentPreviewView</name>
    <message>
        <source>Document preview</source>
        <translation>Dokumentvorschau</translation>
    </message>
    <message>
        <source>Text file preview</source>
        <translation>Textdateivorschau</translation>
    </message>
    <message>
        <source>PDF preview</source>
        <translation>PDF-Vorschau</translation>
    </message>
</context>
<context>
    <name>EmptyView</name>
    <message>
        <source>Nothing in the history matches “%1”</source>
        <translation>Nichts im Verlauf passt zu „%1“</translation>
    </message>
    <message>
        <source>Type in the search field to search the whole history</source>
        <translation>Tippen Sie ins Suchfeld, um den ganzen Verlauf zu durchsuchen</translation>
    </message>
    <message>
        <source>Vantrel will capture items automatically</source>
        <translation>Vantrel zeichnet Kopiertes automatisch auf</translation>
    </message>
    <message>
        <source>No Result</source>
        <translation>Keine Treffer</translation>
    </message>
    <message>
        <source>No Record</source>
        <translation>Keine Einträge</translation>
    </message>
</context>
<context>
    <name>FileInfoView</name>
    <message>
        <source>File information</source>
        <translation>Dateiinformationen</translation>
    </message>
    <message>
        <source>File icon</source>
        <translation>Dateisymbol</translation>
    </message>
    <message>
        <source>File name</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>File size</source>
        <translation>Dateigröße</translation>
    </message>
    <message>
        <source>File type</source>
        <translation>Dateityp</translation>
    </message>
</context>
<context>
    <name>HistoryListView</name>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Unmark</source>
        <translation>Markierung entfernen</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>Markieren</translation>
    </message>
</context>
<context>
    <name>IgnoredApplicationsView</name>
    <message>
        <source>Never record:</source>
        <translation>Nie aufzeichnen:</translation>
    </message>
    <message>
        <source>Copies made in these applications are never read nor kept</source>
        <translation>Kopien aus diesen Anwendungen werden weder gelesen noch behalten</translation>
    </message>
    <message>
        <source>Applications whose copies are never recorded</source>
        <translation>Anwendungen, deren Kopien nie aufgezeichnet werden</translation>
    </message>
    <message>
        <source>Add Running…</source>
        <translation>Laufende hinzufügen…</translation>
    </message>
    <message>
        <source>Add Installed…</source>
        <translation>Installierte hinzufügen…</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Why the list has no effect here</source>
        <translation>Warum die Liste hier nicht wirkt</translation>
    </message>
    <message>
        <source>This desktop does not tell which application copied, so these copies are still recorded. For a one-off secret, use &quot;Ignore the next copy&quot; in the tray menu.</source>
        <translation>Diese Arbeitsumgebung verrät nicht, welche Anwendung kopiert hat, daher werden diese Kopien weiterhin aufgezeichnet. Für ein einmaliges Geheimnis „Nächste Kopie ignorieren“ im Menü der Taskleiste verwenden.</translation>
    </message>
    <message>
        <source>No windows are known here</source>
        <translation>Hier sind keine Fenster bekannt</translation>
    </message>
    <message>
        <source>No applications are installed</source>
        <translation>Keine Anwendungen installiert</translation>
    </message>
</context>
<context>
    <name>ImagePreviewView</name>
    <message>
        <source>Image preview</source>
        <translation>Bildvorschau</translation>
    </message>
</context>
<context>
    <name>MainWindowController</name>
    <message>
        <source>Vantrel</source>
        <translation>Vantrel</translation>
    </message>
</context>
<context>
    <name>MiniViewController</name>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Pin</source>
        <translation>Anheften</translation>
    </message>
    <message>
        <source>Main Window</source>
        <translation>Hauptfenster</translation>
    </message>
    <message>
        <source>Unpin</source>
        <translation>Lösen</translation>
    </message>
</context>
<context>
    <name>MiniWindowController</name>
    <message>
        <source>Vantrel Mini</source>
        <translation>Vantrel Mini</translation>
    </message>
</context>
<context>
    <name>MySearchField</name>
    <message>
        <source>Clear search</source>
        <translation>Suche leeren</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
</context>
<context>
    <name>NoticeBar</name>
    <message>
        <source>Dismiss</source>
        <translation>Ausblenden</translation>
    </message>
</context>
<context>
    <name>PBFileContent</name>
    <message numerus="yes">
        <source>%1 and %n more</source>
        <translation>
            <numerusform>%1 und %n weitere</numerusform>
            <numerusform>%1 und %n weitere</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PasteKeystrokeNull</name>
    <message>
        <source>This desktop lets no application type into another, so Vantrel only copies the item: paste it with Ctrl+V.</source>
        <translation>Diese Arbeitsumgebung lässt keine Anwendung in eine andere tippen, daher kopiert Vantrel den Eintrag nur: Mit Strg+V einfügen.</translation>
    </message>
</context>
<context>
    <name>PasteKeystrokeX11</name>
    <message>
        <source>The X server offers no XTest extension, so Vantrel only copies the item: paste it with Ctrl+V.</source>
        <translation>Der X-Server bietet keine XTest-Erweiterung, daher kopiert Vantrel den Eintrag nur: Mit Strg+V einfügen.</translation>
    </message>
</context>
<context>
    <name>PasteSettingsView</name>
    <message>
        <source>Paste:</source>
        <translation>Einfügen:</translation>
    </message>
    <message>
        <source>Paste into the active application after choosing</source>
        <translation>Nach dem Auswählen in die aktive Anwendung einfügen</translation>
    </message>
    <message>
        <source>In the mini window (Enter)</source>
        <translation>Im Mini-Fenster (Eingabe)</translation>
    </message>
    <message>
        <source>In the main window (Enter or a double click)</source>
        <translation>Im Hauptfenster (Eingabe oder Doppelklick)</translation>
    </message>
    <message>
        <source>Why Vantrel cannot paste here</source>
        <translation>Warum Vantrel hier nicht einfügen kann</translation>
    </message>
    <message>
        <source>Terminals, pasted into with Ctrl+Shift+V (one application id or window class a line):</source>
        <translation>Terminals, eingefügt mit Strg+Umschalt+V (eine Anwendungs-ID oder Fensterklasse je Zeile):</translation>
    </message>
    <message>
        <source>Terminals</source>
        <translation>Terminals</translation>
    </message>
</context>
<context>
    <name>PasteboardWayland</name>
    <message>
        <source>Vantrel cannot record the clipboard: the compositor offers no data-control protocol. Start Vantrel with VANTREL_WAYLAND_PATH=xwayland to record through Xwayland.</source>
        <translation>Vantrel kann die Zwischenablage nicht aufzeichnen: Der Compositor bietet kein Data-Control-Protokoll an. Starten Sie Vantrel mit VANTREL_WAYLAND_PATH=xwayland, um über Xwayland aufzuzeichnen.</translation>
    </message>
    <message>
        <source>Vantrel cannot record the clipboard: %1.</source>
        <translation>Vantrel kann die Zwischenablage nicht aufzeichnen: %1.</translation>
    </message>
</context>
<context>
    <name>PreviewPopover</name>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
</context>
<context>
    <name>PreviewPreparation</name>
    <message>
        <source>Only the first %1 of %2 are shown; the rest is not.</source>
        <translation>Nur die ersten %1 von %2 werden angezeigt, der Rest nicht.</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
</context>
<context>
    <name>PreviewViewController</name>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Formatted text</source>
        <translation>Formatierter Text</translation>
    </message>
</context>
<context>
    <name>RFOverlayScroller</name>
    <message>
        <source>Scroll</source>
        <translation>Blättern</translation>
    </message>
</context>
<context>
    <name>SettingsViewController</name>
    <message>
        <source>Scroll</source>
        <translation>Blättern</translation>
    </message>
    <message>
        <source>The autostart entry %1 cannot be removed</source>
        <translation>Der Autostart-Eintrag %1 kann nicht entfernt werden</translation>
    </message>
    <message>
        <source>The autostart entry %1 cannot be written</source>
        <translation>Der Autostart-Eintrag %1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>%1 already starts another program at log-in; it is left as it is</source>
        <translation>%1 startet bereits ein anderes Programm bei der Anmeldung; der Eintrag bleibt unverändert</translation>
    </message>
    <message>
        <source>Mode:</source>
        <translation>Modus:</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Copy twice</source>
        <translation>Zweimal kopieren</translation>
    </message>
    <message>
        <source>Keep records:</source>
        <translation>Einträge behalten:</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Dauer</translation>
    </message>
    <message>
        <source>24 hours</source>
        <translation>24 Stunden</translation>
    </message>
    <message>
        <source>3 days</source>
        <translation>3 Tage</translation>
    </message>
    <message>
        <source>5 days</source>
        <translation>5 Tage</translation>
    </message>
    <message>
        <source>1 week</source>
        <translation>1 Woche</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Anzahl</translation>
    </message>
    <message>
        <source>100 items</source>
        <translation>100 Einträge</translation>
    </message>
    <message>
        <source>300 items</source>
        <translation>300 Einträge</translation>
    </message>
    <message>
        <source>500 items</source>
        <translation>500 Einträge</translation>
    </message>
    <message>
        <source>1000 items</source>
        <translation>1000 Einträge</translation>
    </message>
    <message>
        <source>Clear when exiting Vantrel</source>
        <translation>Beim Beenden von Vantrel leeren</translation>
    </message>
    <message>
        <source>Manually delete</source>
        <translation>Manuell löschen</translation>
    </message>
    <message>
        <source>Shortcuts:</source>
        <translation>Tastenkürzel:</translation>
    </message>
    <message>
        <source>&amp;Main window</source>
        <translation>&amp;Hauptfenster</translation>
    </message>
    <message>
        <source>Main window shortcut</source>
        <translation>Tastenkürzel Hauptfenster</translation>
    </message>
    <message>
        <source>M&amp;ini window</source>
        <translation>M&amp;inifenster</translation>
    </message>
    <message>
        <source>Mini window shortcut</source>
        <translation>Tastenkürzel Minifenster</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>Beim Systemstart öffnen</translation>
    </message>
    <message>
        <source>v%1</source>
        <translation>v%1</translation>
    </message>
    <message>
        <source>Already held by another application</source>
        <translation>Bereits von einer anderen Anwendung belegt</translation>
    </message>
    <message>
        <source>Already the shortcut of the other window</source>
        <translation>Bereits das Tastenkürzel des anderen Fensters</translation>
    </message>
    <message>
        <source>Not usable as a global shortcut</source>
        <translation>Nicht als globales Tastenkürzel nutzbar</translation>
    </message>
    <message>
        <source>No global shortcuts in this session</source>
        <translation>Keine globalen Tastenkürzel in dieser Sitzung</translation>
    </message>
    <message>
        <source>&amp;Rows:</source>
        <translation>&amp;Zeilen:</translation>
    </message>
    <message>
        <source>Row height</source>
        <translation>Zeilenhöhe</translation>
    </message>
    <message>
        <source>Comfortable</source>
        <translation>Großzügig</translation>
    </message>
    <message>
        <source>Compact</source>
        <translation>Kompakt</translation>
    </message>
    <message>
        <source>Load web pages in previews</source>
        <translation>Webseiten in der Vorschau laden</translation>
    </message>
    <message>
        <source>Show a web address as its live page as soon as it is selected. Off: only the address shows until you press Load Page, and nothing is sent to the site.</source>
        <translation>Eine Webadresse gleich beim Auswählen als Seite zeigen. Aus: Nur die Adresse wird gezeigt, bis Sie „Seite laden“ drücken, und nichts wird an die Website gesendet.</translation>
    </message>
    <message>
        <source>Not accepted by the desktop</source>
        <translation>Von der Arbeitsumgebung nicht angenommen</translation>
    </message>
</context>
<context>
    <name>SettingsWindowController</name>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
</context>
<context>
    <name>ShortcutCommands</name>
    <message>
        <source>In GNOME: Settings → Keyboard → View and Customize Shortcuts → Custom Shortcuts, then add one shortcut for each command.</source>
        <translation>In GNOME: Einstellungen → Tastatur → Tastenkombinationen anzeigen und anpassen → Eigene Tastenkombinationen, dann für jeden Befehl eine Tastenkombination hinzufügen.</translation>
    </message>
    <message>
        <source>In KDE Plasma: System Settings → Keyboard → Shortcuts → Add New → Command or Script, then add one shortcut for each command.</source>
        <translation>In KDE Plasma: Systemeinstellungen → Tastatur → Kurzbefehle → Neu hinzufügen → Befehl oder Skript, dann für jeden Befehl einen Kurzbefehl hinzufügen.</translation>
    </message>
    <message>
        <source>In Xfce: Settings → Keyboard → Application Shortcuts, then add one shortcut for each command.</source>
        <translation>In Xfce: Einstellungen → Tastatur → Tastaturkürzel für Anwendungen, dann für jeden Befehl ein Tastaturkürzel hinzufügen.</translation>
    </message>
    <message>
        <source>In Cinnamon: System Settings → Keyboard → Shortcuts → Custom Shortcuts, then add one shortcut for each command.</source>
        <translation>In Cinnamon: Systemeinstellungen → Tastatur → Tastenkombinationen → Benutzerdefinierte Tastenkombinationen, dann für jeden Befehl eine Tastenkombination hinzufügen.</translation>
    </message>
    <message>
        <source>In sway: add a line such as “bindsym Ctrl+Alt+v exec %1” to ~/.config/sway/config, then reload sway.</source>
        <translation>In sway: eine Zeile wie „bindsym Ctrl+Alt+v exec %1“ in ~/.config/sway/config eintragen, dann sway neu laden.</translation>
    </message>
    <message>
        <source>In Hyprland: add a line such as “bind = CTRL ALT, V, exec, %1” to ~/.config/hypr/hyprland.conf.</source>
        <translation>In Hyprland: eine Zeile wie „bind = CTRL ALT, V, exec, %1“ in ~/.config/hypr/hyprland.conf eintragen.</translation>
    </message>
    <message>
        <source>Add one shortcut for each command in your desktop&apos;s keyboard settings.</source>
        <translation>Für jeden Befehl in den Tastatureinstellungen der Arbeitsumgebung eine Tastenkombination hinzufügen.</translation>
    </message>
</context>
<context>
    <name>ShortcutCommandsView</name>
    <message>
        <source>Commands for the desktop&apos;s shortcuts</source>
        <translation>Befehle für die Tastenkombinationen der Arbeitsumgebung</translation>
    </message>
    <message>
        <source>This desktop lets Vantrel bind no shortcuts itself. Bind these commands to keys of your choice:</source>
        <translation>Diese Arbeitsumgebung lässt Vantrel selbst keine Tastenkombinationen belegen. Legen Sie diese Befehle auf Tasten Ihrer Wahl:</translation>
    </message>
    <message>
        <source>Main window</source>
        <translation>Hauptfenster</translation>
    </message>
    <message>
        <source>Command for the main window</source>
        <translation>Befehl für das Hauptfenster</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Copies the command for the main window</source>
        <translation>Kopiert den Befehl für das Hauptfenster</translation>
    </message>
    <message>
        <source>Mini window</source>
        <translation>Minifenster</translation>
    </message>
    <message>
        <source>Command for the mini window</source>
        <translation>Befehl für das Minifenster</translation>
    </message>
    <message>
        <source>Copies the command for the mini window</source>
        <translation>Kopiert den Befehl für das Minifenster</translation>
    </message>
</context>
<context>
    <name>StringAdditions</name>
    <message numerus="yes">
        <source>%n hours ago</source>
        <translation>
            <numerusform>vor %n Stunde</numerusform>
            <numerusform>vor %n Stunden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n minutes ago</source>
        <translation>
            <numerusform>vor %n Minute</numerusform>
            <numerusform>vor %n Minuten</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Utils</name>
    <message>
        <source>Open this address with its handler?

%1</source>
        <translation>Diese Adresse mit dem zugehörigen Programm öffnen?

%1</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>File has been moved</source>
        <translation>Die Datei wurde verschoben</translation>
    </message>
</context>
<context>
    <name>ViewController</name>
    <message numerus="yes">
        <source>%Ln items</source>
        <translation>
            <numerusform>%Ln Eintrag</numerusform>
            <numerusform>%Ln Einträge</numerusform>
        </translation>
    </message>
    <message>
        <source>Number of results</source>
        <translation>Anzahl der Treffer</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Mini Window</source>
        <translation>Minifenster</translation>
    </message>
    <message>
        <source>Categories</source>
        <translation>Kategorien</translation>
    </message>
    <message>
        <source>Loading</source>
        <translation>Wird geladen</translation>
    </message>
    <message>
        <source>Recents</source>
        <translation>Zuletzt</translation>
    </message>
    <message>
        <source>Marked</source>
        <translation>Markiert</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Image</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>URL</source>
        <translation>URL</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Vantrel Menu</source>
        <translation>Vantrel-Menü</translation>
    </message>
    <message>
        <source>Notice</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>Your desktop shows no tray icons, so Vantrel lives in this window. Closing it keeps Vantrel recording; to bring the window back, start Vantrel again from your applications menu or run “vantrel”. The menu button at the top right pauses recording, opens the preferences and quits.</source>
        <translation>Ihre Arbeitsumgebung zeigt keine Symbole im Systembereich, darum lebt Vantrel in diesem Fenster. Nach dem Schließen zeichnet Vantrel weiter auf; um das Fenster zurückzuholen, starten Sie Vantrel erneut aus dem Anwendungsmenü oder mit „vantrel“. Der Menüknopf oben rechts pausiert die Aufzeichnung, öffnet die Einstellungen und beendet Vantrel.</translation>
    </message>
</context>
<context>
    <name>WebAddressView</name>
    <message>
        <source>Web address</source>
        <translation>Webadresse</translation>
    </message>
    <message>
        <source>Page title</source>
        <translation>Seitentitel</translation>
    </message>
    <message>
        <source>Load Page</source>
        <translation>Seite laden</translation>
    </message>
    <message>
        <source>Load this page in the preview. The site learns of the visit, and a link meant for one use is used up.</source>
        <translation>Diese Seite in der Vorschau laden. Die Website erfährt von dem Besuch, und ein Link zur einmaligen Verwendung wird dabei verbraucht.</translation>
    </message>
    <message>
        <source>Open in Browser</source>
        <translation>Im Browser öffnen</translation>
    </message>
    <message>
        <source>Open this address in your web browser</source>
        <translation>Diese Adresse in Ihrem Webbrowser öffnen</translation>
    </message>
</context>
<context>
    <name>WebPreviewView</name>
    <message>
        <source>Web page</source>
        <translation>Webseite</translation>
    </message>
</context>
<context>
    <name>WelcomeView</name>
    <message>
        <source>Welcome</source>
        <translation>Willkommen</translation>
    </message>
    <message>
        <source>Start at Log-In</source>
        <translation>Bei Anmeldung starten</translation>
    </message>
    <message>
        <source>Welcome to Vantrel. It records what you copy from now on.</source>
        <translation>Willkommen bei Vantrel. Ab jetzt zeichnet es auf, was Sie kopieren.</translation>
    </message>
    <message>
        <source>To bring it up with a key, bind the command “%1” in your desktop&apos;s keyboard settings. %2</source>
        <translation>Um es mit einer Taste aufzurufen, legen Sie den Befehl „%1“ in den Tastatureinstellungen der Arbeitsumgebung auf eine Taste. %2</translation>
    </message>
    <message>
        <source>Press %1 in any application to bring up its mini window.</source>
        <translation>Drücken Sie %1 in einer beliebigen Anwendung, um das Minifenster aufzurufen.</translation>
    </message>
    <message>
        <source>Press %1 in any application to bring up this window.</source>
        <translation>Drücken Sie %1 in einer beliebigen Anwendung, um dieses Fenster aufzurufen.</translation>
    </message>
    <message>
        <source>Choose a shortcut in the Preferences to bring it up from any application.</source>
        <translation>Wählen Sie in den Einstellungen eine Tastenkombination, um es aus jeder Anwendung aufzurufen.</translation>
    </message>
    <message>
        <source>Vantrel now starts when you log in.</source>
        <translation>Vantrel startet jetzt bei der Anmeldung.</translation>
    </message>
    <message>
        <source>Vantrel could not be set to start at log-in.</source>
        <translation>Vantrel konnte nicht für den Start bei der Anmeldung eingerichtet werden.</translation>
    </message>
</context>
<context>
    <name>TextPreviewView</name>
    <message>
        <source>Scroll</source>
        <translation>Blättern</translation>
    </message>
</context>
</TS>
