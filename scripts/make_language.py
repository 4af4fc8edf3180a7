#!/usr/bin/env python3
"""Writes the program's language files and its built-in texts from one table.

  make_language.py            writes bin/language/1033.lan, bin/language/1045.lan
                              and app/window/BuiltinTexts.inc
  make_language.py --check    exits 1 when a written file differs from the table

A language file is an INI file: sections "CAPTION", "KB.DIALOG" and "LAN",
keys the decimal text numbers. A file whose text is plain ASCII is written as
ASCII; any other is written as UTF-16LE with a byte-order mark, which the
system's private-profile functions read as Unicode. Lines end in CRLF.

The English column is also compiled into the program as the built-in texts
that stand in for a missing file, section or number.
"""

import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# (section, number, English, Polish). One row a line and each text whole, however
# long: a text seen on screen is found here by searching for it.
TEXTS = [
    # Caption title and the copyright line of the home and system settings pages.
    ("CAPTION", 1, "Tarnwell", "Tarnwell"),
    # One short line: it sits right-aligned in a 300-pixel box on the home page.
    ("CAPTION", 2, "Copyright 2026 Tarnwell", "Copyright 2026 Tarnwell"),

    # Record editor.
    ("LAN", 5, "Close", "Zamknij"),
    ("LAN", 22, "OK", "OK"),
    ("LAN", 1171, "Key", "Klawisz"),

    # Caption buttons, tray and message boxes.
    ("KB.DIALOG", 2, "Maximize", "Maksymalizuj"),
    ("KB.DIALOG", 3, "Minimize", "Minimalizuj"),
    ("KB.DIALOG", 10, "Settings", "Ustawienia"),
    ("KB.DIALOG", 11, "Exit", "Zakończ"),
    ("KB.DIALOG", 16, "Close", "Zamknij"),
    ("KB.DIALOG", 17, "Exit", "Zakończ"),
    ("KB.DIALOG", 20, "OK", "OK"),
    ("KB.DIALOG", 23, "OK", "OK"),
    ("KB.DIALOG", 25, "Cancel", "Anuluj"),
    ("KB.DIALOG", 26, "Rename", "Zmień nazwę"),
    ("KB.DIALOG", 27, "Delete", "Usuń"),
    ("KB.DIALOG", 30, "Delete", "Usuń"),
    ("KB.DIALOG", 38, "More profiles", "Więcej profili"),
    ("KB.DIALOG", 39, "Insert", "Wstaw"),

    # Shell and home page.
    ("KB.DIALOG", 50, "Home", "Strona główna"),
    ("KB.DIALOG", 51, "Keys", "Klawisze"),
    ("KB.DIALOG", 52, "Lighting", "Światło"),
    ("KB.DIALOG", 53, "Macros", "Makra"),
    ("KB.DIALOG", 54, "Settings", "Ustawienia"),
    ("KB.DIALOG", 60, "Customize", "Dostosuj"),
    ("KB.DIALOG", 61, "Connect the keyboard and try again.", "Podłącz klawiaturę i spróbuj ponownie."),
    ("KB.DIALOG", 62, "No keyboard", "Brak klawiatury"),
    ("KB.DIALOG", 63, "No keyboard connected", "Nie podłączono klawiatury"),
    # The progress window adds ": <percent>%", so no trailing punctuation.
    ("KB.DIALOG", 80, "Restoring factory settings", "Przywracanie ustawień fabrycznych"),

    # Keys page: profiles, reset buttons, layers, categories.
    ("KB.DIALOG", 100, "Profiles", "Profile"),
    ("KB.DIALOG", 101, "Profile", "Profil"),
    ("KB.DIALOG", 102, "Default profile", "Profil domyślny"),
    ("KB.DIALOG", 103, "Restore the default profile", "Przywróć profil domyślny"),
    ("KB.DIALOG", 104, "Reset key", "Reset klawisza"),
    ("KB.DIALOG", 105, "Reset layer", "Reset warstwy"),
    # The mouse buttons of the event editor, in the order of its list.
    ("KB.DIALOG", 106, "Left button", "Lewy przycisk"),
    ("KB.DIALOG", 107, "Right button", "Prawy przycisk"),
    ("KB.DIALOG", 108, "Middle button", "Środkowy przycisk"),
    ("KB.DIALOG", 109, "Forward button", "Przycisk Dalej"),
    ("KB.DIALOG", 110, "Back button", "Przycisk Wstecz"),
    ("KB.DIALOG", 115, "Reset every key of this layer to its default?", "Przywrócić domyślne ustawienia wszystkich klawiszy tej warstwy?"),
    ("KB.DIALOG", 116, "Reset layer", "Resetuj warstwę"),
    ("KB.DIALOG", 120, "Keys", "Klawisze"),
    ("KB.DIALOG", 121, "Media", "Multimedia"),
    ("KB.DIALOG", 122, "F13-F24", "F13-F24"),
    ("KB.DIALOG", 125, "Macros", "Makra"),
    ("KB.DIALOG", 126, "Mouse", "Mysz"),
    # Mouse functions.
    ("KB.DIALOG", 151, "Left click", "Lewy klik"),
    ("KB.DIALOG", 152, "Middle click", "Środkowy klik"),
    ("KB.DIALOG", 153, "Right click", "Prawy klik"),
    ("KB.DIALOG", 155, "Back", "Wstecz"),
    ("KB.DIALOG", 156, "Forward", "Dalej"),
    # Media functions.
    ("KB.DIALOG", 160, "Media player", "Odtwarzacz"),
    ("KB.DIALOG", 161, "Volume up", "Głośniej"),
    ("KB.DIALOG", 162, "Volume down", "Ciszej"),
    ("KB.DIALOG", 163, "Mute", "Wycisz"),
    ("KB.DIALOG", 164, "Play/Pause", "Odtwórz/Pauza"),
    ("KB.DIALOG", 165, "Stop", "Stop"),
    ("KB.DIALOG", 166, "Previous track", "Poprzedni utwór"),
    ("KB.DIALOG", 167, "Next track", "Następny utwór"),
    ("KB.DIALOG", 168, "Brightness up", "Jaśniej"),
    ("KB.DIALOG", 169, "Brightness down", "Ciemniej"),
    ("KB.DIALOG", 170, "Web home", "Strona startowa"),
    ("KB.DIALOG", 171, "Web refresh", "Odśwież stronę"),
    ("KB.DIALOG", 172, "Web stop", "Zatrzymaj stronę"),
    ("KB.DIALOG", 173, "Web back", "Strona wstecz"),
    ("KB.DIALOG", 174, "Web forward", "Strona dalej"),
    ("KB.DIALOG", 175, "Favorites", "Ulubione"),
    ("KB.DIALOG", 176, "Web search", "Wyszukaj w sieci"),
    ("KB.DIALOG", 177, "This PC", "Ten komputer"),
    ("KB.DIALOG", 178, "Calculator", "Kalkulator"),
    ("KB.DIALOG", 179, "Email", "Poczta"),

    # Lighting page.
    ("KB.DIALOG", 200, "Lighting", "Podświetlenie"),
    ("KB.DIALOG", 201, "Effect settings", "Ustawienia efektu"),
    ("KB.DIALOG", 202, "Colorful", "Kolorowy"),
    ("KB.DIALOG", 203, "Brightness", "Jasność"),
    ("KB.DIALOG", 204, "Speed", "Prędkość"),
    ("KB.DIALOG", 205, "Direction", "Kierunek"),
    ("KB.DIALOG", 206, "Up", "W górę"),
    ("KB.DIALOG", 207, "Down", "W dół"),
    ("KB.DIALOG", 208, "Right", "W prawo"),
    ("KB.DIALOG", 209, "Left", "W lewo"),
    ("KB.DIALOG", 210, "Clockwise", "Zgodnie z zegarem"),
    ("KB.DIALOG", 211, "Counterclockwise", "Przeciwnie do zegara"),
    ("KB.DIALOG", 212, "Inward", "Do środka"),
    ("KB.DIALOG", 213, "Outward", "Na zewnątrz"),
    ("KB.DIALOG", 220, "At least one profile must remain.", "Musi pozostać co najmniej jeden profil."),
    ("KB.DIALOG", 221, "Delete profile", "Usuń profil"),
    # Music lighting. 226-238 name the visualizer's effects 1-11 (and 0) by
    # what they paint: colour bands by height, a colour wheel, a cycling
    # colour, and solid colours.
    ("KB.DIALOG", 222, "Bar effect", "Efekt słupków"),
    ("KB.DIALOG", 223, "Sensitivity", "Czułość"),
    ("KB.DIALOG", 224, "Background", "Tło"),
    ("KB.DIALOG", 225, "Brightness", "Jasność"),
    ("KB.DIALOG", 226, "Green to red", "Od zielonego do czerwonego"),
    ("KB.DIALOG", 227, "Rainbow", "Tęcza"),
    ("KB.DIALOG", 228, "Reverse rainbow", "Odwrócona tęcza"),
    ("KB.DIALOG", 229, "Color wheel", "Koło barw"),
    ("KB.DIALOG", 230, "Color cycle", "Zmienny kolor"),
    ("KB.DIALOG", 231, "White", "Biały"),
    ("KB.DIALOG", 232, "Red", "Czerwony"),
    ("KB.DIALOG", 233, "Orange", "Pomarańczowy"),
    ("KB.DIALOG", 234, "Yellow", "Żółty"),
    ("KB.DIALOG", 235, "Green", "Zielony"),
    ("KB.DIALOG", 237, "None", "Brak"),
    ("KB.DIALOG", 238, "Blue", "Niebieski"),
    # Light-mode names.
    ("KB.DIALOG", 260, "Wave", "Fala"),
    ("KB.DIALOG", 261, "Breathing", "Oddychanie"),
    ("KB.DIALOG", 262, "Ripple", "Zmarszczki"),
    ("KB.DIALOG", 263, "Static", "Stały"),
    ("KB.DIALOG", 264, "Reactive", "Reakcja"),
    ("KB.DIALOG", 265, "Spectrum", "Widmo"),
    ("KB.DIALOG", 266, "Starlight", "Gwiazdy"),
    ("KB.DIALOG", 267, "Rain", "Deszcz"),
    ("KB.DIALOG", 268, "Fireworks", "Fajerwerki"),
    ("KB.DIALOG", 269, "Spiral", "Spirala"),
    ("KB.DIALOG", 270, "Scan", "Skan"),
    ("KB.DIALOG", 271, "Neon", "Neon"),
    ("KB.DIALOG", 272, "Rings", "Pierścienie"),
    ("KB.DIALOG", 273, "Aurora", "Zorza"),
    ("KB.DIALOG", 274, "Custom", "Własny"),
    ("KB.DIALOG", 286, "Music", "Muzyka"),

    # Macro page.
    ("KB.DIALOG", 351, "Macro", "Makro"),
    ("KB.DIALOG", 352, "Macros", "Makra"),
    ("KB.DIALOG", 353, "New", "Nowe"),
    ("KB.DIALOG", 355, "Events", "Zdarzenia"),
    ("KB.DIALOG", 357, "Delete", "Usuń"),
    ("KB.DIALOG", 358, "Record", "Nagraj"),
    ("KB.DIALOG", 359, "Stop", "Zatrzymaj"),
    ("KB.DIALOG", 360, "Delay", "Opóźnienie"),
    ("KB.DIALOG", 361, "No delay", "Bez opóźnień"),
    ("KB.DIALOG", 362, "Recorded delay", "Z nagrania"),
    ("KB.DIALOG", 363, "Fixed delay", "Stałe"),
    ("KB.DIALOG", 364, "Repeat", "Powtarzanie"),
    ("KB.DIALOG", 365, "While held", "Dopóki wciśnięty"),
    ("KB.DIALOG", 366, "Until pressed again", "Do ponownego wciśnięcia"),
    ("KB.DIALOG", 367, "Times", "Liczba razy"),
    ("KB.DIALOG", 368, "Insert", "Wstaw"),
    ("KB.DIALOG", 385, "Press a key", "Naciśnij klawisz"),
    ("KB.DIALOG", 386, "The macro has reached its event limit.", "Makro osiągnęło limit zdarzeń."),
    ("KB.DIALOG", 387, "Select a macro first.", "Najpierw wybierz makro."),
    ("KB.DIALOG", 388, "No.", "Nr"),
    # Event list columns: the kind's icon, then the key or the delay.
    ("KB.DIALOG", 389, "Type", "Typ"),
    ("KB.DIALOG", 390, "Event", "Zdarzenie"),
    ("KB.DIALOG", 391, "Event type", "Typ zdarzenia"),
    ("KB.DIALOG", 392, "Mouse button", "Przycisk myszy"),
    ("KB.DIALOG", 393, "Mouse", "Mysz"),
    ("KB.DIALOG", 394, "Key", "Klawisz"),
    ("KB.DIALOG", 395, "Delay", "Opóźnienie"),
    # Insert menu: 410-412, 397 and 398 in the menu's order.
    ("KB.DIALOG", 397, "Insert key press", "Wstaw klawisz"),
    ("KB.DIALOG", 398, "Insert delay", "Wstaw opóźnienie"),
    ("KB.DIALOG", 400, "Move to top", "Przenieś na początek"),
    ("KB.DIALOG", 401, "Move up", "Przenieś wyżej"),
    ("KB.DIALOG", 402, "Move down", "Przenieś niżej"),
    ("KB.DIALOG", 403, "Move to end", "Przenieś na koniec"),
    ("KB.DIALOG", 404, "Clear", "Wyczyść"),
    ("KB.DIALOG", 410, "Insert left click", "Wstaw lewy klik"),
    ("KB.DIALOG", 411, "Insert middle click", "Wstaw środkowy klik"),
    ("KB.DIALOG", 412, "Insert right click", "Wstaw prawy klik"),
    ("KB.DIALOG", 421, "You can keep at most 32 macros.", "Można mieć najwyżej 32 makra."),

    # Settings page.
    ("KB.DIALOG", 500, "Firmware version", "Wersja firmware"),
    ("KB.DIALOG", 501, "The version of the firmware in the keyboard.", "Wersja oprogramowania zapisanego w klawiaturze."),
    ("KB.DIALOG", 502, "Info", "Info"),
    ("KB.DIALOG", 505, "Sleep after", "Uśpienie po"),
    ("KB.DIALOG", 506, "min", "min"),
    ("KB.DIALOG", 507, "Never", "Nigdy"),
    ("KB.DIALOG", 510, "Lock the Windows key", "Blokada Windows"),
    ("KB.DIALOG", 511, "The Windows key does nothing while this is on, so a game is not interrupted.", "Gdy włączone, klawisz Windows nie działa i nie przerywa gry."),
    ("KB.DIALOG", 512, "Lock Alt+Tab", "Blokada Alt+Tab"),
    ("KB.DIALOG", 513, "Alt+Tab does not switch windows while this is on.", "Gdy włączone, Alt+Tab nie przełącza okien."),
    ("KB.DIALOG", 514, "Lock Alt+F4", "Blokada Alt+F4"),
    ("KB.DIALOG", 515, "Alt+F4 does not close windows while this is on.", "Gdy włączone, Alt+F4 nie zamyka okien."),
    ("KB.DIALOG", 520, "Factory reset", "Reset fabryczny"),
    ("KB.DIALOG", 521, "Restores the factory settings; all profiles, macros and lighting are lost.", "Przywraca ustawienia fabryczne; wszystkie profile, makra i podświetlenie zostaną utracone."),
    ("KB.DIALOG", 522, "Reset", "Resetuj"),

    # System settings page.
    ("KB.DIALOG", 550, "Language", "Język"),
    ("KB.DIALOG", 553, "Startup", "Uruchamianie"),
    ("KB.DIALOG", 554, "Start with Windows", "Uruchamiaj z Windows"),
    ("KB.DIALOG", 555, "Start minimized to the tray", "Uruchamiaj zminimalizowany do zasobnika"),
    ("KB.DIALOG", 556, "On close", "Zamykanie"),
    ("KB.DIALOG", 557, "Minimize to the tray", "Minimalizuj do zasobnika"),
    ("KB.DIALOG", 558, "Exit the program", "Zakończ program"),
    ("KB.DIALOG", 560, "Updates", "Aktualizacje"),
    ("KB.DIALOG", 561, "Check", "Sprawdź"),
    ("KB.DIALOG", 565, "Support", "Pomoc techniczna"),
    ("KB.DIALOG", 566, "Downloads", "Pobieranie"),

    # Profile buttons.
    ("KB.DIALOG", 822, "New", "Nowy"),
    ("KB.DIALOG", 823, "Delete", "Usuń"),
    ("KB.DIALOG", 824, "Export", "Eksportuj"),
    ("KB.DIALOG", 825, "Import", "Importuj"),

    # Profile import: why a file was not imported.
    ("KB.DIALOG", 830, "The profile file could not be read. Nothing was imported.", "Nie można odczytać pliku profilu. Nic nie zaimportowano."),
    ("KB.DIALOG", 831, "The profile file is not UTF-8 text. Nothing was imported.", "Plik profilu nie jest tekstem UTF-8. Nic nie zaimportowano."),
    ("KB.DIALOG", 832, "The profile file is not a well-formed XML document. Nothing was imported.", "Plik profilu nie jest poprawnym dokumentem XML. Nic nie zaimportowano."),
    ("KB.DIALOG", 833, "The file is not a profile file. Nothing was imported.", "Ten plik nie jest plikiem profilu. Nic nie zaimportowano."),
    ("KB.DIALOG", 834, "The profile file holds more entries than a profile can. Nothing was imported.", "Plik profilu zawiera więcej wpisów, niż może mieć profil. Nic nie zaimportowano."),
    ("KB.DIALOG", 835, "The profile could not be stored. Nothing was imported.", "Nie można zapisać profilu. Nic nie zaimportowano."),
    ("KB.DIALOG", 836, "Import profile", "Importuj profil"),

    # Progress window stages.
    ("KB.DIALOG", 1000, "Downloading", "Pobieranie"),
    ("KB.DIALOG", 1001, "Unpacking", "Rozpakowywanie"),
    ("KB.DIALOG", 1002, "Installing", "Instalowanie"),

    # Uses that once shared another use's number.
    ("KB.DIALOG", 1150, "Standard", "Standard"),          # layer tabs
    ("KB.DIALOG", 1151, "Fn layer", "Warstwa Fn"),
    ("KB.DIALOG", 1152, "Standard layout", "Układ standardowy"),  # layout presets
    ("KB.DIALOG", 1153, "Mac modifiers", "Modyfikatory Mac"),
    ("KB.DIALOG", 1154, "Dvorak", "Dvorak"),
    ("KB.DIALOG", 1155, "Colemak", "Colemak"),
    # Macro menu.
    ("KB.DIALOG", 1156, "Import macro...", "Importuj makro..."),
    ("KB.DIALOG", 1157, "Export macro...", "Eksportuj makro..."),
    # File dialogs' filter names.
    ("KB.DIALOG", 1158, "Macro files", "Pliki makr"),
    ("KB.DIALOG", 1159, "Profile files", "Pliki profili"),
    # The program's version on the home page: "<text> 1.0.0".
    ("KB.DIALOG", 1160, "Version", "Wersja"),
    # Update notices and what a failed update tells.
    ("KB.DIALOG", 1161, "Program update", "Aktualizacja programu"),
    ("KB.DIALOG", 1162, "Firmware update", "Aktualizacja firmware"),
    ("KB.DIALOG", 1163, "You already have the latest version.", "Masz już najnowszą wersję."),
    ("KB.DIALOG", 1164, "A new version is available", "Dostępna jest nowa wersja"),
    ("KB.DIALOG", 1165, "Install it now?", "Zainstalować ją teraz?"),
    # At most three lines of the message box.
    ("KB.DIALOG", 1166, "The keyboard needs new firmware. The update takes about a minute; do not touch the keyboard meanwhile. Update now?", "Klawiatura potrzebuje nowego firmware. Aktualizacja trwa około minuty; nie dotykaj wtedy klawiatury. Zaktualizować teraz?"),
    ("KB.DIALOG", 1167, "The download failed. Nothing was changed.", "Pobieranie nie powiodło się. Nic nie zmieniono."),
    ("KB.DIALOG", 1168, "The update package is damaged. Nothing was changed.", "Pakiet aktualizacji jest uszkodzony. Nic nie zmieniono."),
    ("KB.DIALOG", 1169, "The temporary folder cannot be written. Nothing was changed.", "Nie można zapisać w folderze tymczasowym. Nic nie zmieniono."),
    ("KB.DIALOG", 1170, "The installer could not be started.", "Nie można uruchomić instalatora."),

    # Event editor: the label over the value field while it holds a delay (the
    # event list's third column has its own heading, 390).
    ("KB.DIALOG", 1230, "Delay (ms)", "Opóźnienie (ms)"),

    # Keys page: the label of the layout preset combo.
    ("KB.DIALOG", 1200, "Key layout", "Układ klawiszy"),
    # Macro import: why a file was not imported, or not all of it.
    ("KB.DIALOG", 1100, "The macro file could not be read. Nothing was imported.", "Nie można odczytać pliku makr. Nic nie zaimportowano."),
    ("KB.DIALOG", 1101, "The macro file is not a well-formed XML document. Nothing was imported.", "Plik makr nie jest poprawnym dokumentem XML. Nic nie zaimportowano."),
    ("KB.DIALOG", 1102, "The file is not a macro file. Nothing was imported.", "Ten plik nie jest plikiem makr. Nic nie zaimportowano."),
    ("KB.DIALOG", 1103, "The macros could not be stored. Nothing was imported.", "Nie można zapisać makr. Nic nie zaimportowano."),
    # %d stands for the event limit of one macro.
    ("KB.DIALOG", 1104, "A macro holds at most %d events. Only the first %d events of each macro were imported.", "Makro może mieć najwyżej %d zdarzeń. Zaimportowano tylko pierwsze %d zdarzeń każdego makra."),
    ("KB.DIALOG", 1105, "Import macros", "Importuj makra"),

    # Update packages refused before anything was unpacked.
    ("KB.DIALOG", 1120, "The update package would unpack to far more than an update holds, so it was not unpacked. Nothing was changed.", "Pakiet aktualizacji rozpakowałby się do znacznie większego rozmiaru, niż ma aktualizacja, więc go nie rozpakowano. Nic nie zmieniono."),
    ("KB.DIALOG", 1121, "There is not enough free disk space to unpack the update. Nothing was changed.", "Za mało wolnego miejsca na dysku, aby rozpakować aktualizację. Nic nie zmieniono."),

    # Settings that cannot be saved: told once, at start or after a reset.
    ("KB.DIALOG", 1110, "Settings cannot be saved", "Nie można zapisywać ustawień"),
    ("KB.DIALOG", 1111, "The settings file is damaged or is not a settings file. It was left as it is; changes will not be saved.", "Plik ustawień jest uszkodzony lub nie jest plikiem ustawień. Pozostawiono go bez zmian; zmiany nie zostaną zapisane."),
    ("KB.DIALOG", 1112, "The settings file is write-protected. Changes will not be saved.", "Plik ustawień jest chroniony przed zapisem. Zmiany nie zostaną zapisane."),
    ("KB.DIALOG", 1113, "The settings file could not be opened or created. Changes will not be saved.", "Nie można otworzyć ani utworzyć pliku ustawień. Zmiany nie zostaną zapisane."),
    ("KB.DIALOG", 1114, "The keyboard's name cannot be used as a file name, so no settings file was made. Changes will not be saved.", "Nazwy klawiatury nie można użyć jako nazwy pliku, więc nie utworzono pliku ustawień. Zmiany nie zostaną zapisane."),
]

SECTIONS = ("CAPTION", "KB.DIALOG", "LAN")
LANGUAGES = ((1033, 2), (1045, 3))  # LCID, column of TEXTS


def lan_text(column):
    lines = []
    for section in SECTIONS:
        lines.append("[%s]" % section)
        for row in TEXTS:
            if row[0] == section:
                lines.append("%d=%s" % (row[1], row[column]))
        lines.append("")
    return "\r\n".join(lines)


def lan_bytes(text):
    try:
        return text.encode("ascii")
    except UnicodeEncodeError:
        return b"\xff\xfe" + text.encode("utf-16-le")


def cxx_literal(text):
    out = []
    for ch in text:
        if ch in '\\"':
            out.append("\\" + ch)
        elif 32 <= ord(ch) < 127:
            out.append(ch)
        else:
            out.append("\\x%04x" % ord(ch))
    return 'L"%s"' % "".join(out)


def builtin_inc():
    lines = ["// Generated by scripts/make_language.py from its table: the English texts",
             "// that stand in for a missing language file, section or number.", ""]
    for section, number, english, _ in TEXTS:
        lines.append("{L\"%s\", %d, %s}," % (section, number, cxx_literal(english)))
    return "\n".join(lines) + "\n"


def outputs():
    files = {}
    for lcid, column in LANGUAGES:
        files[os.path.join(ROOT, "bin", "language", "%d.lan" % lcid)] = lan_bytes(lan_text(column))
    files[os.path.join(ROOT, "app", "window", "BuiltinTexts.inc")] = builtin_inc().encode("ascii")
    return files


def main(argv):
    keys = [(row[0], row[1]) for row in TEXTS]
    if len(keys) != len(set(keys)):
        raise SystemExit("a text number is listed twice")
    for row in TEXTS:
        if not row[2].strip() or not row[3].strip() or "\n" in row[2] + row[3] or len(row[3]) > 259:
            raise SystemExit("text %s %d must be one non-empty line" % row[:2])
    check = "--check" in argv[1:]
    stale = []
    for path, data in outputs().items():
        if check:
            if not os.path.exists(path) or open(path, "rb").read() != data:
                stale.append(path)
            continue
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as out:
            out.write(data)
    if stale:
        print("out of date: " + ", ".join(stale))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
