/*
 * German texts of the resource modules; see texts_enu.h. The field labels
 * are the registry value names of the remembered answers.
 */
#pragma code_page(65001)

#define QEL_LANGUAGE LANG_GERMAN, SUBLANG_GERMAN

/* ---- Wizard ---- */

#define T_PAGETITLE      "Assistent für Problemberichte"

#define T_PAGE0_TEXT \
    "Dieser Assistent hilft Ihnen, ein Problem mit Ihrer Grafikkarte dem " \
    "technischen Kundendienst zu melden.\n\n" \
    "Er fragt nach Ihren Kontaktdaten und nach einer Beschreibung Ihres " \
    "Computers, der Grafikkarte und des Problems. Dann schreibt er eine " \
    "Berichtsdatei, die auch die Einstellungen des Grafiktreibers und von " \
    "Windows enthält, die der Kundendienst braucht.\n\n" \
    "Klicken Sie auf Weiter, um zu beginnen."
#define T_PAGE1_TEXT     "Wen soll der Kundendienst wegen dieses Problems ansprechen?"
#define T_PAGE2_TEXT     "Bitte geben Sie Ihre Postanschrift ein."
#define T_PAGE3_TEXT     "Wie kann der Kundendienst Sie erreichen?"
#define T_PAGE4_TEXT     "Bitte beschreiben Sie Ihren Computer und Ihren Monitor."
#define T_PAGE5_TEXT \
    "Bitte beschreiben Sie Ihre Grafikkarte. Diese Angaben finden Sie auf " \
    "der Verpackung oder auf dem Aufkleber der Karte."
#define T_PAGE6_TEXT     "Bitte fassen Sie das Problem in wenigen Worten zusammen."
#define T_PAGE7_TEXT \
    "Beschreiben Sie das Problem so genau wie möglich: was Sie getan haben, " \
    "was Sie erwartet haben und was stattdessen geschah."
#define T_PAGE8_TEXT \
    "Geben Sie den Namen der Datei ein, in der der Bericht gespeichert " \
    "werden soll, oder klicken Sie auf Durchsuchen.\n\n" \
    "Wenn Sie auf Weiter klicken, wird der Bericht geschrieben. Das kann " \
    "einen Moment dauern."
#define T_PAGE9_TEXT \
    "Der Problembericht ist geschrieben.\n\n" \
    "Wenn Sie auf Fertig stellen klicken, öffnet sich der Bericht im Editor, " \
    "damit Sie ihn lesen können. Bitte schicken Sie die Berichtsdatei per " \
    "E-Mail oder auf Diskette an den technischen Kundendienst.\n\n" \
    "Ihre Angaben werden für den nächsten Bericht gespeichert."
#define T_BROWSE         "Durch&suchen..."

/* Field labels (at most 24 characters). */
#define L_NAME           "Vor- und Zuname"
#define L_JOBTITLE       "Position"
#define L_SALUTATION     "Anrede"
#define L_COMPANY        "Firma"
#define L_STREET         "Straße"
#define L_POSTCODE       "Postleitzahl"
#define L_STATE          "Bundesland"
#define L_COUNTRY        "Land"
#define L_CITY           "Ort"
#define L_PHONE          "Telefon"
#define L_FAX            "Telefax"
#define L_DESCRIPTION    "Problembeschreibung"
#define L_EMAIL          "E-Mail-Adresse"
#define L_CALLTIME       "Erreichbar"
#define L_COMPUTER       "Computermodell"
#define L_SUMMARY        "Problem in Kürze"
#define L_PROCESSOR      "Prozessor"
#define L_MEMORY         "Arbeitsspeicher (MB)"
#define L_APPLICATION    "Programm"
#define L_MONITOR        "Monitormodell"
#define L_REPORTFILE     "Berichtsdatei"
#define L_ADAPTER        "Grafikkartenmodell"
#define L_VIDEOMEMORY    "Grafikspeicher (MB)"
#define L_SERIALNUMBER   "Seriennummer"

#define T_FILECAPTION    "Assistent für Problemberichte"
#define T_NOFILENAME     "Bitte geben Sie den Namen der Berichtsdatei ein."
#define T_CANNOTCREATE \
    "Die Berichtsdatei kann nicht angelegt werden. Bitte prüfen Sie, ob " \
    "der Ordner existiert und ob der Datenträger schreibgeschützt oder voll ist."
#define T_REPLACEFILE    "Diese Datei existiert bereits. Möchten Sie sie ersetzen?"

/* Save As dialog errors, by string id. */
#define T_SAVEAS30       "Das Dialogfeld Speichern unter hat eine seiner Ressourcen nicht gefunden."
#define T_SAVEAS31       "Das Dialogfeld Speichern unter konnte nicht geöffnet werden. Möglicherweise ist nicht genügend Speicher frei."
#define T_SAVEAS32       "Das Dialogfeld Speichern unter konnte eine seiner Ressourcen nicht laden."
#define T_SAVEAS33       "Das Dialogfeld Speichern unter konnte eine seiner Ressourcen nicht sperren."
#define T_SAVEAS34       "Das Dialogfeld Speichern unter konnte einen seiner Texte nicht laden."
#define T_SAVEAS35       "Für das Dialogfeld Speichern unter ist nicht genügend Speicher frei."
#define T_SAVEAS36       "Das Dialogfeld Speichern unter konnte seinen Speicher nicht sperren."
#define T_SAVEAS37       "Das Dialogfeld Speichern unter wurde falsch aufgerufen."
#define T_SAVEAS38       "Das Dialogfeld Speichern unter hat seine Vorlage nicht gefunden."
#define T_SAVEAS39       "Dem Dialogfeld Speichern unter wurde nicht mitgeteilt, wo seine Vorlage liegt."
#define T_SAVEAS40       "Dem Dialogfeld Speichern unter fehlt seine Hook-Prozedur."
#define T_SAVEAS41       "Das Dialogfeld Speichern unter konnte seine Dateiliste nicht anlegen. Möglicherweise ist nicht genügend Speicher frei."
#define T_SAVEAS42       "Der Dateiname ist ungültig."
#define T_SAVEAS43       "Der Dateiname ist zu lang."
#define T_SAVEAS44       "Das Dialogfeld Speichern unter ist fehlgeschlagen."

#define T_SAVEASFILTER   "Textdateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*|"
#define T_SAVEASTITLE    "Problembericht speichern unter"
#define T_DEFAULTFILE    "C:\\QELPR.TXT"

/* Retail notice at the top of the report: one line each, with its own
 * line end, at most 68 characters before it. */
#define T_RETAIL200      "HINWEIS: DIESE GRAFIKKARTE IST EIN EINZELHANDELSPRODUKT.\r\n"
#define T_RETAIL201      "\r\n"
#define T_RETAIL202      "Den technischen Kundendienst für Einzelhandelsprodukte leistet\r\n"
#define T_RETAIL203      "die Firma, bei der Sie die Grafikkarte oder den Computer mit der\r\n"
#define T_RETAIL204      "Karte gekauft haben. Bitte schicken Sie diesen Bericht an den\r\n"
#define T_RETAIL205      "Kundendienst dieser Firma, zusammen mit einer Kopie des Kaufbelegs,\r\n"
#define T_RETAIL206      "oder rufen Sie die Nummer aus dem Handbuch der Karte an.\r\n"
#define T_RETAIL207      "Vielen Dank.\r\n"
#define T_RETAIL208      "\r\n"

/* ---- Tray utility ---- */

#define T_TIP_NOMODE     "Kein Anzeigemodus verfügbar"
#define T_TIP_DESKTOP    "Desktop"
#define T_TIP_SCREEN     "Bildschirm"
#define T_TIP_COLOURS    "Farben"
#define T_TIP_BITS       "Bit"
#define T_MENU_SETTINGS  "&Anzeigeeinstellungen"
#define T_MENU_SCHEMES   "&Farbschemata"
#define T_MENU_CONTENTS  "&Hilfethemen"
#define T_MENU_QUICKHELP "Ü&ber dieses Symbol"
#define T_MENU_EXIT      "&Beenden"
#define T_MENU_DEFSCHEME "Standardfarben"
#define T_MENU_EMPTY     "(keine gespeichert)"
#define T_WARN_CAPTION   "QEL-Anzeigesymbol"
#define T_WARN_TEXT      "Dieser Befehl ist nicht verfügbar."
