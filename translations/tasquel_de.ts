<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>Boxes</name>
    <message>
        <source>Cannot open file &quot;%1&quot;. The file could not be read.</source>
        <translation>Die Datei „%1“ kann nicht geöffnet werden. Sie konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Ask</source>
        <translation>Frage</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>Hinweis</translation>
    </message>
</context>
<context>
    <name>Calendar</name>
    <message>
        <source>Not an iCalendar file: its components nest more than %1 deep.</source>
        <translation>Keine iCalendar-Datei: Ihre Bestandteile sind mehr als %1 Ebenen tief verschachtelt.</translation>
    </message>
    <message>
        <source>Not an iCalendar file: </source>
        <translation>Keine iCalendar-Datei: </translation>
    </message>
    <message>
        <source>libical found no calendar component in it.</source>
        <translation>libical fand darin keinen Kalenderbestandteil.</translation>
    </message>
    <message>
        <source>libical read a %1 component, not a calendar.</source>
        <translation>libical las einen %1-Bestandteil, keinen Kalender.</translation>
    </message>
    <message>
        <source>iCalendar file (*.ics)</source>
        <translation>iCalendar-Datei (*.ics)</translation>
    </message>
    <message>
        <source>Imported: %1 added, %2 updated, %3 skipped</source>
        <translation>Importiert: %1 hinzugefügt, %2 aktualisiert, %3 übersprungen</translation>
    </message>
</context>
<context>
    <name>ColorValues</name>
    <message>
        <source>Black</source>
        <translation>Schwarz</translation>
    </message>
    <message>
        <source>Maroon</source>
        <translation>Kastanienbraun</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Grün</translation>
    </message>
    <message>
        <source>Olive</source>
        <translation>Oliv</translation>
    </message>
    <message>
        <source>Navy</source>
        <translation>Marineblau</translation>
    </message>
    <message>
        <source>Purple</source>
        <translation>Violett</translation>
    </message>
    <message>
        <source>Teal</source>
        <translation>Blaugrün</translation>
    </message>
    <message>
        <source>Gray</source>
        <translation>Grau</translation>
    </message>
    <message>
        <source>Silver</source>
        <translation>Silber</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rot</translation>
    </message>
    <message>
        <source>Lime</source>
        <translation>Hellgrün</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Gelb</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Blau</translation>
    </message>
    <message>
        <source>Fuchsia</source>
        <translation>Fuchsie</translation>
    </message>
    <message>
        <source>Aqua</source>
        <translation>Aquamarin</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Weiß</translation>
    </message>
    <message>
        <source>Money Green</source>
        <translation>Geldgrün</translation>
    </message>
    <message>
        <source>Sky Blue</source>
        <translation>Himmelblau</translation>
    </message>
    <message>
        <source>Cream</source>
        <translation>Creme</translation>
    </message>
    <message>
        <source>Medium Gray</source>
        <translation>Mittelgrau</translation>
    </message>
    <message>
        <source>Scroll Bar</source>
        <translation>Bildlaufleiste</translation>
    </message>
    <message>
        <source>Background</source>
        <translation>Hintergrund</translation>
    </message>
    <message>
        <source>Active Caption</source>
        <translation>Aktive Titelleiste</translation>
    </message>
    <message>
        <source>Inactive Caption</source>
        <translation>Inaktive Titelleiste</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menü</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Fenster</translation>
    </message>
    <message>
        <source>Window Frame</source>
        <translation>Fensterrahmen</translation>
    </message>
    <message>
        <source>Menu Text</source>
        <translation>Menütext</translation>
    </message>
    <message>
        <source>Window Text</source>
        <translation>Fenstertext</translation>
    </message>
    <message>
        <source>Caption Text</source>
        <translation>Titelleistentext</translation>
    </message>
    <message>
        <source>Active Border</source>
        <translation>Aktiver Rahmen</translation>
    </message>
    <message>
        <source>Inactive Border</source>
        <translation>Inaktiver Rahmen</translation>
    </message>
    <message>
        <source>Application Workspace</source>
        <translation>Anwendungsarbeitsbereich</translation>
    </message>
    <message>
        <source>Highlight</source>
        <translation>Markierung</translation>
    </message>
    <message>
        <source>Highlight Text</source>
        <translation>Markierter Text</translation>
    </message>
    <message>
        <source>Button Face</source>
        <translation>Schaltfläche</translation>
    </message>
    <message>
        <source>Button Shadow</source>
        <translation>Schaltflächenschatten</translation>
    </message>
    <message>
        <source>Gray Text</source>
        <translation>Grauer Text</translation>
    </message>
    <message>
        <source>Button Text</source>
        <translation>Schaltflächentext</translation>
    </message>
    <message>
        <source>Inactive Caption Text</source>
        <translation>Text der inaktiven Titelleiste</translation>
    </message>
    <message>
        <source>Button Highlight</source>
        <translation>Schaltflächenlicht</translation>
    </message>
    <message>
        <source>3D Dark Shadow</source>
        <translation>3D-Schatten dunkel</translation>
    </message>
    <message>
        <source>3D Light</source>
        <translation>3D-Licht</translation>
    </message>
    <message>
        <source>Info Text</source>
        <translation>Infotext</translation>
    </message>
    <message>
        <source>Info Background</source>
        <translation>Infohintergrund</translation>
    </message>
    <message>
        <source>Hot Light</source>
        <translation>Hervorhebung</translation>
    </message>
    <message>
        <source>Gradient Active Caption</source>
        <translation>Verlauf aktive Titelleiste</translation>
    </message>
    <message>
        <source>Gradient Inactive Caption</source>
        <translation>Verlauf inaktive Titelleiste</translation>
    </message>
    <message>
        <source>Menu Highlight</source>
        <translation>Menümarkierung</translation>
    </message>
    <message>
        <source>Menu Bar</source>
        <translation>Menüleiste</translation>
    </message>
</context>
<context>
    <name>Database</name>
    <message>
        <source>Could not find file &apos;%1&apos;.</source>
        <translation>Die Datei „%1“ wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a task database.</source>
        <translation>„%1“ ist keine Aufgabendatenbank.</translation>
    </message>
    <message>
        <source>Cannot open &apos;%1&apos;</source>
        <translation>„%1“ kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Cannot open &apos;%1&apos;: not a valid password.</source>
        <translation>„%1“ kann nicht geöffnet werden: kein gültiges Kennwort.</translation>
    </message>
    <message>
        <source>The task database &apos;%1&apos; was deleted or replaced while the program was running. Nothing more is written to it; start the program again to open the file that is there now.</source>
        <translation>Die Aufgabendatenbank „%1“ wurde gelöscht oder ersetzt, während das Programm lief. Es wird nichts mehr in sie geschrieben; starten Sie das Programm neu, um die jetzt vorhandene Datei zu öffnen.</translation>
    </message>
    <message>
        <source>The database connection is not open.</source>
        <translation>Die Verbindung zur Datenbank ist nicht geöffnet.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; already exists; it was left as it is.</source>
        <translation>„%1“ ist schon vorhanden; die Datei wurde belassen, wie sie ist.</translation>
    </message>
    <message>
        <source>Cannot create &apos;%1&apos;</source>
        <translation>„%1“ kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>The password of &apos;%1&apos; could not be changed.</source>
        <translation>Das Kennwort von „%1“ konnte nicht geändert werden.</translation>
    </message>
</context>
<context>
    <name>Dav</name>
    <message>
        <source>The server&apos;s reply is no WebDAV multistatus.</source>
        <translation>Die Antwort des Servers ist kein WebDAV-Multistatus.</translation>
    </message>
    <message>
        <source>The server&apos;s reply is not XML: %1</source>
        <translation>Die Antwort des Servers ist kein XML: %1</translation>
    </message>
</context>
<context>
    <name>DavClient</name>
    <message>
        <source>The server address is not a valid address.</source>
        <translation>Die Serveradresse ist keine gültige Adresse.</translation>
    </message>
    <message>
        <source>The server address must begin with https://.</source>
        <translation>Die Serveradresse muss mit https:// beginnen.</translation>
    </message>
    <message>
        <source>The server address uses unencrypted http; allow it in Options to use it.</source>
        <translation>Die Serveradresse verwendet unverschlüsseltes http; erlauben Sie es in den Optionen, um sie zu verwenden.</translation>
    </message>
    <message>
        <source>The server&apos;s reply is too large.</source>
        <translation>Die Antwort des Servers ist zu groß.</translation>
    </message>
    <message>
        <source>Synchronizing was stopped.</source>
        <translation>Das Synchronisieren wurde angehalten.</translation>
    </message>
    <message>
        <source>The server did not answer in time.</source>
        <translation>Der Server hat nicht rechtzeitig geantwortet.</translation>
    </message>
    <message>
        <source>The server redirects too many times.</source>
        <translation>Der Server leitet zu oft weiter.</translation>
    </message>
    <message>
        <source>The server redirects to an unencrypted address.</source>
        <translation>Der Server leitet an eine unverschlüsselte Adresse weiter.</translation>
    </message>
    <message>
        <source>The server took too long to answer.</source>
        <translation>Der Server hat zu lange für die Antwort gebraucht.</translation>
    </message>
    <message>
        <source>The server&apos;s certificate is not trusted by this system (%1). Ask the server&apos;s administrator for a certificate of a known authority, or add its issuer to the system&apos;s trusted certificates.</source>
        <translation>Diesem System ist das Zertifikat des Servers nicht vertrauenswürdig (%1). Bitten Sie die Verwaltung des Servers um ein Zertifikat einer bekannten Stelle, oder nehmen Sie dessen Aussteller in die vertrauenswürdigen Zertifikate des Systems auf.</translation>
    </message>
</context>
<context>
    <name>DesktopNotifications</name>
    <message>
        <source>The desktop&apos;s notification server has stopped.</source>
        <translation>Der Benachrichtigungsdienst des Desktops wurde beendet.</translation>
    </message>
    <message>
        <source>There is no desktop session bus to reach a notification server.</source>
        <translation>Es gibt keinen Sitzungsbus des Desktops, über den ein Benachrichtigungsdienst erreichbar wäre.</translation>
    </message>
    <message>
        <source>No notification server is running on this desktop.</source>
        <translation>Auf diesem Desktop läuft kein Benachrichtigungsdienst.</translation>
    </message>
    <message>
        <source>The desktop&apos;s notification server cannot show buttons.</source>
        <translation>Der Benachrichtigungsdienst des Desktops kann keine Schaltflächen zeigen.</translation>
    </message>
    <message>
        <source>The desktop&apos;s notification server does not answer.</source>
        <translation>Der Benachrichtigungsdienst des Desktops antwortet nicht.</translation>
    </message>
</context>
<context>
    <name>Interchange</name>
    <message>
        <source>File read failure!</source>
        <translation>Fehler beim Lesen der Datei!</translation>
    </message>
    <message>
        <source> not Exist !</source>
        <translation> ist nicht vorhanden!</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid %2 value for %3.</source>
        <translation>„%1“ ist kein gültiger %2-Wert für %3.</translation>
    </message>
    <message>
        <source>Data mismatch: </source>
        <translation>Daten passen nicht: </translation>
    </message>
    <message>
        <source>... and %1 more missing attributes</source>
        <translation>... und %1 weitere fehlende Attribute</translation>
    </message>
    <message>
        <source>Zarvik Database,  (*.zvx)</source>
        <translation>Zarvik-Datenbank,  (*.zvx)</translation>
    </message>
    <message>
        <source>Zarvik Database, (*.zvx)</source>
        <translation>Zarvik-Datenbank, (*.zvx)</translation>
    </message>
    <message>
        <source>Field &apos;%1&apos; not found.</source>
        <translation>Das Feld „%1“ wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>The XML is not well formed: %1</source>
        <translation>Das XML ist nicht wohlgeformt: %1</translation>
    </message>
    <message>
        <source>Cannot open &quot;%1&quot;.</source>
        <translation>„%1“ kann nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>The file is too short.</source>
        <translation>Die Datei ist zu kurz.</translation>
    </message>
    <message>
        <source>The file&apos;s length field is not valid.</source>
        <translation>Das Längenfeld der Datei ist ungültig.</translation>
    </message>
    <message>
        <source>The decompressor could not start.</source>
        <translation>Das Entpacken konnte nicht beginnen.</translation>
    </message>
    <message>
        <source>The compressed data is damaged.</source>
        <translation>Die gepackten Daten sind beschädigt.</translation>
    </message>
    <message>
        <source>The compressed data ends early.</source>
        <translation>Die gepackten Daten enden zu früh.</translation>
    </message>
    <message>
        <source>The compressor could not start.</source>
        <translation>Das Packen konnte nicht beginnen.</translation>
    </message>
    <message>
        <source>The data could not be compressed.</source>
        <translation>Die Daten konnten nicht gepackt werden.</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;.</source>
        <translation>„%1“ kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>„%1“ ist keine gültige ganze Zahl</translation>
    </message>
</context>
<context>
    <name>ReminderNotices</name>
    <message>
        <source> (overdue)</source>
        <translation> (überfällig)</translation>
    </message>
    <message>
        <source>Task Reminder</source>
        <translation>Aufgabenerinnerung</translation>
    </message>
    <message>
        <source>Snooze</source>
        <translation>Schlummern</translation>
    </message>
    <message>
        <source>Dismiss</source>
        <translation>Verwerfen</translation>
    </message>
    <message>
        <source>Complete</source>
        <translation>Erledigt</translation>
    </message>
    <message>
        <source>%1 reminders due</source>
        <translation>%1 Erinnerungen fällig</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>und %1 weitere</translation>
    </message>
    <message>
        <source>Snooze all</source>
        <translation>Alle schlummern</translation>
    </message>
    <message>
        <source>Dismiss all</source>
        <translation>Alle verwerfen</translation>
    </message>
    <message>
        <source>Complete all</source>
        <translation>Alle erledigt</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
</context>
<context>
    <name>SafetyCopies</name>
    <message>
        <source>The safety copy of the database could not be written into Backups, so nothing was changed.</source>
        <translation>Die Sicherheitskopie der Datenbank konnte nicht in Backups geschrieben werden; daher wurde nichts geändert.</translation>
    </message>
    <message>
        <source>Backups is a link to another folder; safety copies are kept only in a folder of the program&apos;s own, so nothing was changed.</source>
        <translation>Backups ist eine Verknüpfung zu einem anderen Ordner; Sicherheitskopien werden nur in einem eigenen Ordner des Programms abgelegt, darum wurde nichts geändert.</translation>
    </message>
</context>
<context>
    <name>Sealed</name>
    <message>
        <source>&quot;%1&quot; is protected with a password, and it was not given.</source>
        <translation>„%1“ ist mit einem Kennwort geschützt, und es wurde nicht angegeben.</translation>
    </message>
</context>
<context>
    <name>SecurityPage</name>
    <message>
        <source>&amp;Protect the tasks with a password</source>
        <translation>Aufgaben mit einem Kennwort &amp;schützen</translation>
    </message>
    <message>
        <source>C&amp;hange password...</source>
        <translation>Kennwort ä&amp;ndern...</translation>
    </message>
    <message>
        <source>With a password, the program asks for it at every start, and the database, safety copies, backups and exports can be read only with it.</source>
        <translation>Mit einem Kennwort fragt das Programm bei jedem Start danach, und Datenbank, Sicherheitskopien, Sicherungen und Exporte lassen sich nur damit lesen.</translation>
    </message>
    <message>
        <source>The tasks are protected with your password.</source>
        <translation>Die Aufgaben sind mit Ihrem Kennwort geschützt.</translation>
    </message>
    <message>
        <source>The tasks have no password of yours.</source>
        <translation>Die Aufgaben haben kein eigenes Kennwort.</translation>
    </message>
    <message>
        <source>After OK, the password is taken away.</source>
        <translation>Nach OK wird das Kennwort entfernt.</translation>
    </message>
    <message>
        <source>After OK, the tasks are protected with the new password.</source>
        <translation>Nach OK sind die Aufgaben mit dem neuen Kennwort geschützt.</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>Unable to write to %1</source>
        <translation>In %1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid date and time.</source>
        <translation>„%1“ ist kein gültiges Datum mit Uhrzeit.</translation>
    </message>
</context>
<context>
    <name>SyncEngine</name>
    <message>
        <source>A synchronization is running.</source>
        <translation>Eine Synchronisierung läuft.</translation>
    </message>
    <message>
        <source>The server gives no calendar home for this user.</source>
        <translation>Der Server nennt für diesen Benutzer keinen Kalenderordner.</translation>
    </message>
    <message>
        <source>No CalDAV server was found at this address.</source>
        <translation>Unter dieser Adresse wurde kein CalDAV-Server gefunden.</translation>
    </message>
    <message>
        <source>The server holds no task list yet; one named &quot;Tasks&quot; is made at the first sync.</source>
        <translation>Der Server hat noch keine Aufgabenliste; beim ersten Synchronisieren wird eine namens „Tasks“ angelegt.</translation>
    </message>
    <message>
        <source>The server refused the user name or password.</source>
        <translation>Der Server hat den Benutzernamen oder das Kennwort abgelehnt.</translation>
    </message>
    <message>
        <source>The server refused access to the task list.</source>
        <translation>Der Server hat den Zugriff auf die Aufgabenliste verweigert.</translation>
    </message>
    <message>
        <source>The task list was not found on the server.</source>
        <translation>Die Aufgabenliste wurde auf dem Server nicht gefunden.</translation>
    </message>
    <message>
        <source>The server has no room left.</source>
        <translation>Der Server hat keinen Platz mehr.</translation>
    </message>
    <message>
        <source>The server failed (HTTP %1).</source>
        <translation>Der Server hat einen Fehler gemeldet (HTTP %1).</translation>
    </message>
    <message>
        <source>The server answered HTTP %1.</source>
        <translation>Der Server antwortete mit HTTP %1.</translation>
    </message>
    <message>
        <source>Waiting for the edit to end.</source>
        <translation>Wartet auf das Ende der Bearbeitung.</translation>
    </message>
    <message>
        <source>The other version of a changed task could not be written into %1.</source>
        <translation>Die andere Fassung einer geänderten Aufgabe konnte nicht in %1 geschrieben werden.</translation>
    </message>
    <message>
        <source>The server keeps changing a task; the next sync tries again.</source>
        <translation>Der Server ändert eine Aufgabe immer wieder; das nächste Synchronisieren versucht es erneut.</translation>
    </message>
    <message>
        <source>Synchronizing failed: %1</source>
        <translation>Synchronisieren fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Synchronized: %1 sent, %2 received</source>
        <translation>Synchronisiert: %1 gesendet, %2 empfangen</translation>
    </message>
    <message>
        <source>; the other versions are in %1</source>
        <translation>; die anderen Fassungen stehen in %1</translation>
    </message>
    <message>
        <source>The task list was deleted on the server; Synchronize (F5) offers to make it again.</source>
        <translation>Die Aufgabenliste wurde auf dem Server gelöscht; Synchronisieren (F5) bietet an, sie neu anzulegen.</translation>
    </message>
    <message>
        <source>Not synchronized: the tasks here belong to another task list than the one the account names.</source>
        <translation>Nicht synchronisiert: Die Aufgaben hier gehören zu einer anderen Aufgabenliste als der, die das Konto nennt.</translation>
    </message>
    <message>
        <source>Found %1 task lists; choose one under Task list (without a choice: %2).</source>
        <translation>%1 Aufgabenlisten gefunden; wählen Sie eine unter Aufgabenliste (ohne Wahl: %2).</translation>
    </message>
    <message>
        <source>Found the task list %1 at %2</source>
        <translation>Aufgabenliste %1 gefunden unter %2</translation>
    </message>
    <message>
        <source>The chosen task list %1 is not on the server; choose another one in File, Options..., Sync.</source>
        <translation>Die gewählte Aufgabenliste %1 ist nicht auf dem Server; wählen Sie unter Datei, Optionen..., Synchronisieren eine andere.</translation>
    </message>
    <message>
        <source>The address is a calendar that holds no tasks (events only). Give the address of a task list, or of the server to choose one of its lists.</source>
        <translation>Die Adresse ist ein Kalender ohne Aufgaben (nur Termine). Geben Sie die Adresse einer Aufgabenliste an oder die des Servers, um eine seiner Listen zu wählen.</translation>
    </message>
</context>
<context>
    <name>SyncPage</name>
    <message>
        <source>only by hand</source>
        <translation>nur von Hand</translation>
    </message>
    <message>
        <source>Without encryption, the password and the tasks can be read on their way.</source>
        <translation>Ohne Verschlüsselung können das Kennwort und die Aufgaben unterwegs mitgelesen werden.</translation>
    </message>
    <message>
        <source>&amp;Test connection</source>
        <translation>Verbindung &amp;testen</translation>
    </message>
    <message>
        <source>&amp;Server address</source>
        <translation>&amp;Serveradresse</translation>
    </message>
    <message>
        <source>&amp;User name</source>
        <translation>&amp;Benutzername</translation>
    </message>
    <message>
        <source>&amp;Password</source>
        <translation>&amp;Kennwort</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>Minuten</translation>
    </message>
    <message>
        <source>Sync &amp;every</source>
        <translation>Synchronisieren all&amp;e</translation>
    </message>
    <message>
        <source>The address of the task list, or of the server, which is then searched</source>
        <translation>Die Adresse der Aufgabenliste oder des Servers, der dann durchsucht wird</translation>
    </message>
    <message>
        <source>No secret store is running: the password is kept in memory for this run only, and asked at the first sync of a run.</source>
        <translation>Es läuft kein Schlüsselbund: Das Kennwort wird nur für diesen Programmlauf im Speicher gehalten und beim ersten Synchronisieren eines Laufs erfragt.</translation>
    </message>
    <message>
        <source>Testing...</source>
        <translation>Wird geprüft...</translation>
    </message>
    <message>
        <source>Allow u&amp;nencrypted connection</source>
        <translation>U&amp;nverschlüsselte Verbindung erlauben</translation>
    </message>
    <message>
        <source>Task &amp;list</source>
        <translation>Aufgaben&amp;liste</translation>
    </message>
    <message>
        <source>The first one found</source>
        <translation>Die erste gefundene</translation>
    </message>
</context>
<context>
    <name>TAboutDlg</name>
    <message>
        <source>About...</source>
        <translation>Info...</translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>Website:</translation>
    </message>
    <message>
        <source>Support:</source>
        <translation>Support:</translation>
    </message>
    <message>
        <source>Sales:</source>
        <translation>Vertrieb:</translation>
    </message>
    <message>
        <source>Data:</source>
        <translation>Daten:</translation>
    </message>
    <message>
        <source>Copyright © 2026 Zarvik. All rights reserved.
Warning: this program is protected by copyright law and international treaties.</source>
        <translation>Copyright © 2026 Zarvik. Alle Rechte vorbehalten.
Warnung: Dieses Programm ist durch das Urheberrecht und internationale Verträge geschützt.</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
</context>
<context>
    <name>TColorSetDlg</name>
    <message>
        <source>Set Color</source>
        <translation>Farbe festlegen</translation>
    </message>
    <message>
        <source>Text Color</source>
        <translation>Textfarbe</translation>
    </message>
    <message>
        <source>Background Color</source>
        <translation>Hintergrundfarbe</translation>
    </message>
    <message>
        <source>  Zarvik Software</source>
        <translation>  Zarvik Software</translation>
    </message>
    <message>
        <source>Preview:</source>
        <translation>Vorschau:</translation>
    </message>
    <message>
        <source>Default &amp;Text Color</source>
        <translation>Standard-&amp;Textfarbe</translation>
    </message>
    <message>
        <source>C&amp;ustom: </source>
        <translation>E&amp;igene: </translation>
    </message>
    <message>
        <source>Default &amp;Background Color</source>
        <translation>Standard-&amp;Hintergrundfarbe</translation>
    </message>
    <message>
        <source>Cu&amp;stom: </source>
        <translation>Ei&amp;gene: </translation>
    </message>
    <message>
        <source>&amp;Default</source>
        <translation>&amp;Standard</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>TDueSetDlg</name>
    <message>
        <source>Set Due Date</source>
        <translation>Fälligkeitsdatum festlegen</translation>
    </message>
    <message>
        <source>Due date</source>
        <translation>Fälligkeitsdatum</translation>
    </message>
    <message>
        <source>&amp;Enable Due Date</source>
        <translation>&amp;Fälligkeitsdatum aktivieren</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Date:</source>
        <translation>&amp;Datum:</translation>
    </message>
</context>
<context>
    <name>TIoDm</name>
    <message>
        <source>Writing the backup...</source>
        <translation>Sicherung wird geschrieben...</translation>
    </message>
    <message>
        <source>File write failure!</source>
        <translation>Fehler beim Schreiben der Datei!</translation>
    </message>
    <message>
        <source>Restoring...</source>
        <translation>Wird wiederhergestellt...</translation>
    </message>
    <message>
        <source>Importing...</source>
        <translation>Wird importiert...</translation>
    </message>
    <message>
        <source>Database Backup</source>
        <translation>Datenbanksicherung</translation>
    </message>
    <message>
        <source>Backed up: %1 tasks to %2</source>
        <translation>Gesichert: %1 Aufgaben in %2</translation>
    </message>
    <message>
        <source>Database Restore</source>
        <translation>Datenbank wiederherstellen</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importieren</translation>
    </message>
    <message>
        <source>Import from iCalendar</source>
        <translation>Aus iCalendar importieren</translation>
    </message>
</context>
<context>
    <name>TOptionsDlg</name>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Start with &amp;Windows</source>
        <translation>Mit &amp;Windows starten</translation>
    </message>
    <message>
        <source>Start at &amp;log-in</source>
        <translation>Bei der A&amp;nmeldung starten</translation>
    </message>
    <message>
        <source>Run program &amp;minimized</source>
        <translation>Programm &amp;minimiert ausführen</translation>
    </message>
    <message>
        <source>&amp;Add new item while open</source>
        <translation>Beim Öffnen neuen &amp;Eintrag hinzufügen</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>&amp;General</source>
        <translation>All&amp;gemein</translation>
    </message>
    <message>
        <source>S&amp;ync</source>
        <translation>S&amp;ynchronisieren</translation>
    </message>
    <message>
        <source>Secu&amp;rity</source>
        <translation>Sicher&amp;heit</translation>
    </message>
    <message>
        <source>Show reminders as desktop &amp;notifications</source>
        <translation>Erinnerungen als Desktop-&amp;Benachrichtigungen zeigen</translation>
    </message>
    <message>
        <source>No notification server is running on this desktop.</source>
        <translation>Auf diesem Desktop läuft kein Benachrichtigungsdienst.</translation>
    </message>
    <message>
        <source>Reminders open the program&apos;s own window.</source>
        <translation>Erinnerungen öffnen das eigene Fenster des Programms.</translation>
    </message>
</context>
<context>
    <name>TPasswordDlg</name>
    <message>
        <source>Password</source>
        <translation>Kennwort</translation>
    </message>
    <message>
        <source>A forgotten password cannot be recovered: without it, nobody can read the tasks, not even with this program.</source>
        <translation>Ein vergessenes Kennwort lässt sich nicht wiederherstellen: Ohne es kann niemand die Aufgaben lesen, auch nicht mit diesem Programm.</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>&amp;New password:</source>
        <translation>&amp;Neues Kennwort:</translation>
    </message>
    <message>
        <source>&amp;Repeat it:</source>
        <translation>&amp;Wiederholen:</translation>
    </message>
</context>
<context>
    <name>TReminderSetDlg</name>
    <message>
        <source>Set Reminder</source>
        <translation>Erinnerung festlegen</translation>
    </message>
    <message>
        <source>Date or time may be incorrect!</source>
        <translation>Datum oder Uhrzeit sind möglicherweise falsch!</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Enable Reminder</source>
        <translation>&amp;Erinnerung aktivieren</translation>
    </message>
    <message>
        <source>&amp;Date:</source>
        <translation>&amp;Datum:</translation>
    </message>
    <message>
        <source>&amp;Time:</source>
        <translation>&amp;Uhrzeit:</translation>
    </message>
</context>
<context>
    <name>TReplaceAskDlg</name>
    <message>
        <source>Confirm Replace</source>
        <translation>Ersetzen bestätigen</translation>
    </message>
    <message>
        <source>with this one?</source>
        <translation>durch diese ersetzen?</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;All</source>
        <translation>&amp;Alle</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
    <message>
        <source>A&amp;bort</source>
        <translation>A&amp;bbrechen</translation>
    </message>
    <message>
        <source>Would you like to replace the existing %1</source>
        <translation>Möchten Sie die vorhandene %1 ersetzen</translation>
    </message>
    <message>
        <source>modified: </source>
        <translation>geändert: </translation>
    </message>
    <message>
        <source>task</source>
        <translation>Aufgabe</translation>
    </message>
    <message>
        <source>memo</source>
        <translation>Notiz</translation>
    </message>
</context>
<context>
    <name>TZvSendMessage</name>
    <message>
        <source>General Failure</source>
        <translation>Allgemeiner Fehler</translation>
    </message>
    <message>
        <source>Login Failure</source>
        <translation>Anmeldung fehlgeschlagen</translation>
    </message>
    <message>
        <source>Disk Full</source>
        <translation>Datenträger voll</translation>
    </message>
    <message>
        <source>Insufficient Memory</source>
        <translation>Nicht genügend Speicher</translation>
    </message>
    <message>
        <source>Access Denied</source>
        <translation>Zugriff verweigert</translation>
    </message>
    <message>
        <source>Unknown Error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
    <message>
        <source>Too Many Sessions</source>
        <translation>Zu viele Sitzungen</translation>
    </message>
    <message>
        <source>Too Many Files</source>
        <translation>Zu viele Dateien</translation>
    </message>
    <message>
        <source>Too Many Recipients</source>
        <translation>Zu viele Empfänger</translation>
    </message>
    <message>
        <source>Attachment Not Found</source>
        <translation>Anhang nicht gefunden</translation>
    </message>
    <message>
        <source>Attachment Open Failure</source>
        <translation>Anhang kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Attachment Write Failure</source>
        <translation>Anhang kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>Unknown Recipient</source>
        <translation>Unbekannter Empfänger</translation>
    </message>
    <message>
        <source>Bad Recipient Type</source>
        <translation>Falscher Empfängertyp</translation>
    </message>
    <message>
        <source>No Messages</source>
        <translation>Keine Nachrichten</translation>
    </message>
    <message>
        <source>Invalid Message</source>
        <translation>Ungültige Nachricht</translation>
    </message>
    <message>
        <source>Text Too Large</source>
        <translation>Text zu groß</translation>
    </message>
    <message>
        <source>Invalid Session</source>
        <translation>Ungültige Sitzung</translation>
    </message>
    <message>
        <source>Type Not Supported</source>
        <translation>Typ nicht unterstützt</translation>
    </message>
    <message>
        <source>Ambiguous Recipient</source>
        <translation>Mehrdeutiger Empfänger</translation>
    </message>
    <message>
        <source>Message In Use</source>
        <translation>Nachricht wird verwendet</translation>
    </message>
    <message>
        <source>Network Failure</source>
        <translation>Netzwerkfehler</translation>
    </message>
    <message>
        <source>Invalid Edit Fields</source>
        <translation>Ungültige Eingabefelder</translation>
    </message>
    <message>
        <source>Invalid Recipients</source>
        <translation>Ungültige Empfänger</translation>
    </message>
    <message>
        <source>Feature Not Supported</source>
        <translation>Funktion nicht unterstützt</translation>
    </message>
    <message>
        <source>User Abort</source>
        <translation>Vom Benutzer abgebrochen</translation>
    </message>
</context>
<context>
    <name>TZvTrayIcon</name>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>Zarvik TrayIcon Error</source>
        <translation>Zarvik-Infobereichsfehler</translation>
    </message>
    <message>
        <source>AddToTray can not add icon to the tray</source>
        <translation>AddToTray kann das Symbol nicht in den Infobereich setzen</translation>
    </message>
    <message>
        <source>ResetIcon Error</source>
        <translation>ResetIcon-Fehler</translation>
    </message>
    <message>
        <source>SetHint Error</source>
        <translation>SetHint-Fehler</translation>
    </message>
    <message>
        <source>SetShowHint Error</source>
        <translation>SetShowHint-Fehler</translation>
    </message>
    <message>
        <source>SetImageIndex: No image list assigned</source>
        <translation>SetImageIndex: Keine Bildliste zugewiesen</translation>
    </message>
</context>
<context>
    <name>Tasks</name>
    <message>
        <source>Input content here</source>
        <translation>Inhalt hier eingeben</translation>
    </message>
    <message>
        <source> -- Created: </source>
        <translation> -- Erstellt: </translation>
    </message>
    <message>
        <source>  Completed: </source>
        <translation>  Erledigt: </translation>
    </message>
    <message>
        <source>  Due: </source>
        <translation>  Fällig: </translation>
    </message>
    <message>
        <source>  Alarm: </source>
        <translation>  Erinnerung: </translation>
    </message>
    <message>
        <source> completed</source>
        <translation> erledigt</translation>
    </message>
    <message>
        <source>Due date: </source>
        <translation>Fällig am: </translation>
    </message>
    <message>
        <source>Reminder time: </source>
        <translation>Erinnerung um: </translation>
    </message>
    <message>
        <source> created</source>
        <translation> erstellt</translation>
    </message>
    <message>
        <source>Incomplete Tasks:</source>
        <translation>Offene Aufgaben:</translation>
    </message>
    <message>
        <source>Complete</source>
        <translation>Erledigt</translation>
    </message>
    <message>
        <source>Not complete</source>
        <translation>Nicht erledigt</translation>
    </message>
    <message>
        <source>reminder </source>
        <translation>Erinnerung </translation>
    </message>
    <message>
        <source>due </source>
        <translation>fällig </translation>
    </message>
</context>
<context>
    <name>TcommonDm</name>
    <message>
        <source>&amp;Open Zarvik Tasquel</source>
        <translation>Zarvik Tasquel ö&amp;ffnen</translation>
    </message>
    <message>
        <source>S&amp;tay on top</source>
        <translation>Immer im &amp;Vordergrund</translation>
    </message>
    <message>
        <source>&amp;Close            Ctrl+F12</source>
        <translation>&amp;Schließen	Strg+F12</translation>
    </message>
    <message>
        <source>&amp;Options...</source>
        <translation>&amp;Optionen...</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>Help Contents</source>
        <translation>Hilfeinhalt</translation>
    </message>
    <message>
        <source>C&amp;ontact Technical Support</source>
        <translation>Technischen &amp;Support kontaktieren</translation>
    </message>
    <message>
        <source>&amp;Make a Suggestion</source>
        <translation>&amp;Vorschlag machen</translation>
    </message>
    <message>
        <source>&amp;Visit Zarvik Website</source>
        <translation>Zarvik-&amp;Website besuchen</translation>
    </message>
    <message>
        <source>Check for &amp;Update</source>
        <translation>Nach &amp;Aktualisierung suchen</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>I&amp;nfo</translation>
    </message>
    <message>
        <source>Get Free &amp;Resources</source>
        <translation>Kostenlose &amp;Ressourcen</translation>
    </message>
</context>
<context>
    <name>TmainFm</name>
    <message>
        <source>Click here to open!</source>
        <translation>Zum Öffnen hier klicken!</translation>
    </message>
    <message>
        <source>&amp;Add Task</source>
        <translation>Aufgabe &amp;hinzufügen</translation>
    </message>
    <message>
        <source>Paste to &amp;Task</source>
        <translation>Als &amp;Aufgabe einfügen</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Database &amp;Backup...</source>
        <translation>Datenbank si&amp;chern...</translation>
    </message>
    <message>
        <source>Database &amp;Restore...</source>
        <translation>Datenbank &amp;wiederherstellen...</translation>
    </message>
    <message>
        <source>&amp;Import...</source>
        <translation>&amp;Importieren...</translation>
    </message>
    <message>
        <source>Import from iCalen&amp;dar...</source>
        <translation>Aus iCalendar im&amp;portieren...</translation>
    </message>
    <message>
        <source>Safety copy: </source>
        <translation>Sicherheitskopie: </translation>
    </message>
    <message>
        <source>New empty database: </source>
        <translation>Neue leere Datenbank: </translation>
    </message>
    <message>
        <source>S&amp;ynchronize</source>
        <translation>S&amp;ynchronisieren</translation>
    </message>
    <message>
        <source>Synchronize the tasks with the server</source>
        <translation>Die Aufgaben mit dem Server synchronisieren</translation>
    </message>
    <message>
        <source>The server no longer has %1 of the %2 tasks here. Delete them here too?

Cancel keeps them and sends them back to the server.</source>
        <translation>Der Server hat %1 der %2 Aufgaben hier nicht mehr. Auch hier löschen?

Abbrechen behält sie und sendet sie zurück an den Server.</translation>
    </message>
    <message>
        <source>Password of %1 at %2:</source>
        <translation>Kennwort von %1 bei %2:</translation>
    </message>
    <message>
        <source>Synchronizing...</source>
        <translation>Wird synchronisiert...</translation>
    </message>
    <message>
        <source>The synchronization has been running for %1 seconds. Stop it?</source>
        <translation>Die Synchronisierung läuft seit %1 Sekunden. Abbrechen?</translation>
    </message>
    <message>
        <source>The task list %1 was deleted on the server.

Make it again there and send the tasks here to it?</source>
        <translation>Die Aufgabenliste %1 wurde auf dem Server gelöscht.

Dort neu anlegen und die Aufgaben von hier hineinschicken?</translation>
    </message>
    <message>
        <source>The tasks here were synchronized with the task list %1; the account now names %2.

Send the tasks here to %2 as well, or replace them by the tasks of %2? Before they are replaced, a safety copy of the database is written into Backups.</source>
        <translation>Die Aufgaben hier wurden mit der Aufgabenliste %1 synchronisiert; das Konto nennt jetzt %2.

Die Aufgaben hier auch an %2 senden, oder durch die Aufgaben von %2 ersetzen? Vor dem Ersetzen wird eine Sicherheitskopie der Datenbank in Backups geschrieben.</translation>
    </message>
    <message>
        <source>&amp;Send them there</source>
        <translation>Dorthin &amp;senden</translation>
    </message>
    <message>
        <source>&amp;Replace them</source>
        <translation>&amp;Ersetzen</translation>
    </message>
    <message>
        <source>The task files can now be read by you alone</source>
        <translation>Die Aufgabendateien kann jetzt nur noch Ihr Benutzerkonto lesen</translation>
    </message>
    <message>
        <source>The tasks are protected with a password.

Password:</source>
        <translation>Die Aufgaben sind mit einem Kennwort geschützt.

Kennwort:</translation>
    </message>
    <message>
        <source>That is not the password.

Password:</source>
        <translation>Das ist nicht das Kennwort.

Kennwort:</translation>
    </message>
    <message>
        <source>The password was wrong three times; the tasks stay closed.</source>
        <translation>Das Kennwort war dreimal falsch; die Aufgaben bleiben verschlossen.</translation>
    </message>
    <message>
        <source>That is not the password of %1.

Password:</source>
        <translation>Das ist nicht das Kennwort von %1.

Kennwort:</translation>
    </message>
    <message>
        <source>%1 is protected with a password.

Password:</source>
        <translation>%1 ist mit einem Kennwort geschützt.

Kennwort:</translation>
    </message>
</context>
<context>
    <name>TtaskReminderDlg</name>
    <message>
        <source>5 Minutes</source>
        <translation>5 Minuten</translation>
    </message>
    <message>
        <source>10 Minutes</source>
        <translation>10 Minuten</translation>
    </message>
    <message>
        <source>15 Minutes</source>
        <translation>15 Minuten</translation>
    </message>
    <message>
        <source>30 Minutes</source>
        <translation>30 Minuten</translation>
    </message>
    <message>
        <source>45 Minutes</source>
        <translation>45 Minuten</translation>
    </message>
    <message>
        <source>1 Hour</source>
        <translation>1 Stunde</translation>
    </message>
    <message>
        <source>2 Hours</source>
        <translation>2 Stunden</translation>
    </message>
    <message>
        <source>3 Hours</source>
        <translation>3 Stunden</translation>
    </message>
    <message>
        <source>4 Hours</source>
        <translation>4 Stunden</translation>
    </message>
    <message>
        <source>5 Hours</source>
        <translation>5 Stunden</translation>
    </message>
    <message>
        <source>6 Hours</source>
        <translation>6 Stunden</translation>
    </message>
    <message>
        <source>7 Hours</source>
        <translation>7 Stunden</translation>
    </message>
    <message>
        <source>8 Hours</source>
        <translation>8 Stunden</translation>
    </message>
    <message>
        <source>1 Day</source>
        <translation>1 Tag</translation>
    </message>
    <message>
        <source>2 Days</source>
        <translation>2 Tage</translation>
    </message>
    <message>
        <source>3 Days</source>
        <translation>3 Tage</translation>
    </message>
    <message>
        <source>4 Days</source>
        <translation>4 Tage</translation>
    </message>
    <message>
        <source>5 Days</source>
        <translation>5 Tage</translation>
    </message>
    <message>
        <source>6 Days</source>
        <translation>6 Tage</translation>
    </message>
    <message>
        <source>1 Week</source>
        <translation>1 Woche</translation>
    </message>
    <message>
        <source>2 Weeks</source>
        <translation>2 Wochen</translation>
    </message>
    <message>
        <source>3 Weeks</source>
        <translation>3 Wochen</translation>
    </message>
    <message>
        <source>Task Reminder</source>
        <translation>Aufgabenerinnerung</translation>
    </message>
    <message>
        <source>Dismiss reminder</source>
        <translation>Erinnerung verwerfen</translation>
    </message>
    <message>
        <source>Snooze a&amp;ll</source>
        <translation>&amp;Alle schlummern</translation>
    </message>
    <message>
        <source>Snooze every reminder that is due</source>
        <translation>Jede fällige Erinnerung schlummern lassen</translation>
    </message>
    <message>
        <source>Dismiss &amp;all</source>
        <translation>Alle ver&amp;werfen</translation>
    </message>
    <message>
        <source>Dismiss every reminder that is due</source>
        <translation>Jede fällige Erinnerung verwerfen</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>und %1 weitere</translation>
    </message>
    <message>
        <source>Reminder text</source>
        <translation>Erinnerungstext</translation>
    </message>
    <message>
        <source>Click &quot;Snooze&quot; to be alarmed again &amp;in:</source>
        <translation>Auf „Schlummern“ klicken, um erneut erinnert zu werden &amp;in:</translation>
    </message>
    <message>
        <source>&amp;Dismiss</source>
        <translation>&amp;Verwerfen</translation>
    </message>
    <message>
        <source>&amp;Snooze</source>
        <translation>&amp;Schlummern</translation>
    </message>
</context>
<context>
    <name>TupdateDlg</name>
    <message>
        <source>Zarvik Update</source>
        <translation>Zarvik-Aktualisierung</translation>
    </message>
    <message>
        <source>Updates are published on the Zarvik website.</source>
        <translation>Aktualisierungen erscheinen auf der Zarvik-Website.</translation>
    </message>
    <message>
        <source>Would you like to see more information about these updates and how to obtain them? </source>
        <translation>Möchten Sie mehr über diese Aktualisierungen erfahren und wie Sie sie erhalten? </translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
    <message>
        <source>Do not &amp;ask me again.</source>
        <translation>Nicht mehr &amp;fragen.</translation>
    </message>
</context>
<context>
    <name>TzvTasksFrame</name>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Setting colors</source>
        <translation>Farben werden gesetzt</translation>
    </message>
    <message>
        <source>Set Color</source>
        <translation>Farbe festlegen</translation>
    </message>
    <message>
        <source>Please select a task!</source>
        <translation>Bitte eine Aufgabe auswählen!</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Add Task</source>
        <translation>Aufgabe hinzufügen</translation>
    </message>
    <message>
        <source>Add Sub-Task</source>
        <translation>Unteraufgabe hinzufügen</translation>
    </message>
    <message>
        <source>Are you sure you want to delete </source>
        <translation>Möchten Sie wirklich </translation>
    </message>
    <message>
        <source>this task?</source>
        <translation>diese Aufgabe löschen?</translation>
    </message>
    <message>
        <source>these tasks?</source>
        <translation>diese Aufgaben löschen?</translation>
    </message>
    <message>
        <source>Deleting</source>
        <translation>Wird gelöscht</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Marking complete</source>
        <translation>Wird als erledigt markiert</translation>
    </message>
    <message>
        <source>Marking incomplete</source>
        <translation>Wird als offen markiert</translation>
    </message>
    <message>
        <source>Mark Complete</source>
        <translation>Als erledigt markieren</translation>
    </message>
    <message>
        <source>Unmark Complete</source>
        <translation>Erledigt-Markierung aufheben</translation>
    </message>
    <message>
        <source>To-Do List</source>
        <translation>Aufgabenliste</translation>
    </message>
    <message>
        <source>HTML file, you can open it with website browser.</source>
        <translation>HTML-Datei, Sie können sie mit einem Webbrowser öffnen.</translation>
    </message>
    <message>
        <source>Zarvik data file, you can import it into Zarvik software directly.</source>
        <translation>Zarvik-Datendatei, Sie können sie direkt in Zarvik-Programme importieren.</translation>
    </message>
    <message>
        <source>File Write Failure !</source>
        <translation>Fehler beim Schreiben der Datei!</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Tasks</source>
        <translation>Auf&amp;gaben</translation>
    </message>
    <message>
        <source>&amp;Move to</source>
        <translation>&amp;Verschieben nach</translation>
    </message>
    <message>
        <source>Move tasks to other group</source>
        <translation>Aufgaben in eine andere Gruppe verschieben</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Move To</source>
        <translation>&amp;Verschieben nach</translation>
    </message>
    <message>
        <source>View All Tasks</source>
        <translation>Alle Aufgaben</translation>
    </message>
    <message>
        <source>View Complete</source>
        <translation>Erledigte</translation>
    </message>
    <message>
        <source>View Incomplete</source>
        <translation>Offene</translation>
    </message>
    <message>
        <source>View Range</source>
        <translation>Anzeigebereich</translation>
    </message>
    <message>
        <source>Input search string</source>
        <translation>Suchbegriff eingeben</translation>
    </message>
    <message>
        <source>Search tasks</source>
        <translation>Aufgaben durchsuchen</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Tasks</source>
        <translation>Aufgaben</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>Double click to add a Task!</source>
        <translation>Doppelklicken, um eine Aufgabe hinzuzufügen!</translation>
    </message>
    <message>
        <source>Root</source>
        <translation>Oberste Ebene</translation>
    </message>
    <message>
        <source>Moving</source>
        <translation>Wird verschoben</translation>
    </message>
    <message>
        <source>Move to</source>
        <translation>Verschieben nach</translation>
    </message>
    <message>
        <source>Drag and Drop</source>
        <translation>Ziehen und Ablegen</translation>
    </message>
    <message>
        <source>Set Reminder</source>
        <translation>Erinnerung festlegen</translation>
    </message>
    <message>
        <source>Set Due Date</source>
        <translation>Fälligkeitsdatum festlegen</translation>
    </message>
    <message>
        <source>Dismiss All</source>
        <translation>Alle verwerfen</translation>
    </message>
    <message>
        <source>Dismiss</source>
        <translation>Verwerfen</translation>
    </message>
    <message>
        <source>Snooze All</source>
        <translation>Alle schlummern</translation>
    </message>
    <message>
        <source>Snooze</source>
        <translation>Schlummern</translation>
    </message>
    <message>
        <source>Text file (*.txt)</source>
        <translation>Textdatei (*.txt)</translation>
    </message>
    <message>
        <source>HTML file (*.htm *.html)</source>
        <translation>HTML-Datei (*.htm *.html)</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 ist schon vorhanden.
Möchten Sie die Datei ersetzen?</translation>
    </message>
    <message>
        <source>File write failure!</source>
        <translation>Fehler beim Schreiben der Datei!</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>1 task restored</source>
        <translation>1 Aufgabe wiederhergestellt</translation>
    </message>
    <message>
        <source>%1 tasks restored</source>
        <translation>%1 Aufgaben wiederhergestellt</translation>
    </message>
    <message>
        <source>Descending Sort</source>
        <translation>Absteigend sortieren</translation>
    </message>
    <message>
        <source>Ascending Sort</source>
        <translation>Aufsteigend sortieren</translation>
    </message>
    <message>
        <source>  Search...</source>
        <translation>  Suchen...</translation>
    </message>
    <message>
        <source>Clear search</source>
        <translation>Suche leeren</translation>
    </message>
    <message>
        <source>The mail program reported: </source>
        <translation>Das E-Mail-Programm meldete: </translation>
    </message>
    <message>
        <source>Add &amp;Task        Enter</source>
        <translation>Aufgabe &amp;hinzufügen	Eingabe</translation>
    </message>
    <message>
        <source>&amp;Add Sub-Task  Ctrl+Enter</source>
        <translation>&amp;Unteraufgabe hinzufügen	Strg+Eingabe</translation>
    </message>
    <message>
        <source>&amp;Edit            F2</source>
        <translation>&amp;Bearbeiten	F2</translation>
    </message>
    <message>
        <source>Edit Task or Sub-Task</source>
        <translation>Aufgabe oder Unteraufgabe bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Delete Task or Sub-Task</source>
        <translation>Aufgabe oder Unteraufgabe löschen</translation>
    </message>
    <message>
        <source>&amp;Set Reminder...</source>
        <translation>E&amp;rinnerung festlegen...</translation>
    </message>
    <message>
        <source>Set D&amp;ue Date...</source>
        <translation>&amp;Fälligkeitsdatum festlegen...</translation>
    </message>
    <message>
        <source>Sort</source>
        <translation>Sortieren</translation>
    </message>
    <message>
        <source>View &amp;Date</source>
        <translation>&amp;Datumsansicht</translation>
    </message>
    <message>
        <source>View Date </source>
        <translation>Datumsansicht </translation>
    </message>
    <message>
        <source>View &amp;List</source>
        <translation>&amp;Listenansicht</translation>
    </message>
    <message>
        <source>List View Tasks</source>
        <translation>Aufgaben als Liste</translation>
    </message>
    <message>
        <source>&amp;Expand All</source>
        <translation>Alle auf&amp;klappen</translation>
    </message>
    <message>
        <source>Expand all</source>
        <translation>Alle aufklappen</translation>
    </message>
    <message>
        <source>Collapse all</source>
        <translation>Alle zuklappen</translation>
    </message>
    <message>
        <source>&amp;Save All...</source>
        <translation>Alle speic&amp;hern...</translation>
    </message>
    <message>
        <source>Sa&amp;ve Task...</source>
        <translation>Aufgabe spei&amp;chern...</translation>
    </message>
    <message>
        <source>E-mai&amp;l Task...</source>
        <translation>Aufgabe per E-&amp;Mail...</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>Set C&amp;olor...</source>
        <translation>F&amp;arbe festlegen...</translation>
    </message>
    <message>
        <source>&amp;Copy             Ctrl+C</source>
        <translation>&amp;Kopieren	Strg+C</translation>
    </message>
    <message>
        <source>&amp;Paste            Ctrl+V</source>
        <translation>E&amp;infügen	Strg+V</translation>
    </message>
    <message>
        <source>&amp;Select All       Ctrl+A</source>
        <translation>Alle a&amp;uswählen	Strg+A</translation>
    </message>
    <message>
        <source>&amp;Deselect</source>
        <translation>Auswahl auf&amp;heben</translation>
    </message>
    <message>
        <source>&amp;Export...</source>
        <translation>&amp;Exportieren...</translation>
    </message>
    <message>
        <source>Export to iCa&amp;lendar...</source>
        <translation>Nach iCa&amp;lendar exportieren...</translation>
    </message>
    <message>
        <source>&amp;All Tasks</source>
        <translation>&amp;Alle Aufgaben</translation>
    </message>
    <message>
        <source>&amp;Complete Tasks</source>
        <translation>&amp;Erledigte Aufgaben</translation>
    </message>
    <message>
        <source>&amp;Incomplete Tasks</source>
        <translation>&amp;Offene Aufgaben</translation>
    </message>
    <message>
        <source>Click here to Add a new Item.</source>
        <translation>Hier klicken, um einen neuen Eintrag hinzuzufügen.</translation>
    </message>
    <message>
        <source>Click here to finish Edit. Press Esc cancel.</source>
        <translation>Hier klicken, um die Bearbeitung abzuschließen. Esc bricht ab.</translation>
    </message>
    <message>
        <source>Search no result</source>
        <translation>Die Suche ergab nichts</translation>
    </message>
    <message>
        <source>Ctrl+Enter: Finish edit.</source>
        <translation>Strg+Eingabe: Bearbeitung abschließen.</translation>
    </message>
    <message>
        <source>Esc: Cancel edit.</source>
        <translation>Esc: Bearbeitung abbrechen.</translation>
    </message>
    <message>
        <source>Mouse double click blank: shortcut add.</source>
        <translation>Doppelklick auf eine freie Stelle: schnell hinzufügen.</translation>
    </message>
    <message>
        <source>Enter: add a new item.</source>
        <translation>Eingabe: neuen Eintrag hinzufügen.</translation>
    </message>
    <message>
        <source>Ctrl+Enter: add a new Child item.</source>
        <translation>Strg+Eingabe: neuen Untereintrag hinzufügen.</translation>
    </message>
    <message>
        <source>Ctrl+F12: Minimize window.</source>
        <translation>Strg+F12: Fenster minimieren.</translation>
    </message>
    <message>
        <source>Descending &amp;Sort</source>
        <translation>Absteigend &amp;sortieren</translation>
    </message>
    <message>
        <source>Ascending &amp;Sort</source>
        <translation>Aufsteigend &amp;sortieren</translation>
    </message>
    <message>
        <source>Mar&amp;k Complete</source>
        <translation>Als &amp;erledigt markieren</translation>
    </message>
    <message>
        <source>C&amp;ollapse All</source>
        <translation>Alle &amp;zuklappen</translation>
    </message>
    <message>
        <source>U&amp;nmark Complete</source>
        <translation>&amp;Erledigt-Markierung aufheben</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>Exported: %1 tasks to %2</source>
        <translation>Exportiert: %1 Aufgaben nach %2</translation>
    </message>
    <message>
        <source>Export to iCalendar</source>
        <translation>Nach iCalendar exportieren</translation>
    </message>
    <message>
        <source>Save All</source>
        <translation>Alle speichern</translation>
    </message>
    <message>
        <source>Save Task</source>
        <translation>Aufgabe speichern</translation>
    </message>
    <message>
        <source>Undoing</source>
        <translation>Wird rückgängig gemacht</translation>
    </message>
    <message>
        <source>Redoing</source>
        <translation>Wird wiederholt</translation>
    </message>
</context>
<context>
    <name>Undo</name>
    <message>
        <source>The tasks table has other columns now; the change cannot be taken back.</source>
        <translation>Die Aufgabentabelle hat jetzt andere Spalten; die Änderung kann nicht zurückgenommen werden.</translation>
    </message>
</context>
</TS>
