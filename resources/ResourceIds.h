// Resource and command ids shared by the resource script, the menus, the
// dialog buttons, the tray menu and the message tables. Numbers live here once.
#pragma once

// Icons
#define IDI_APP                 1

// Version block
#define LARKSPUR_VERSION_MAJOR  1
#define LARKSPUR_VERSION_MINOR  0
#define LARKSPUR_VERSION_PATCH  0
#define LARKSPUR_VERSION_BUILD  0
#define LARKSPUR_VERSION_TEXT   "1.0.0.0"

// ---------------------------------------------------------------------------
// Recorder window: dialogs, controls, bitmaps, main menu and its commands
// ---------------------------------------------------------------------------

// Dialogs
#define IDD_TAPP                2      // the recorder window, client of the frame
#define IDD_PROGRESS            1800   // progress of long operations

// Main menu and accelerator table of the frame
#define IDM_MAIN                100
#define IDA_MAIN                100

// Controls of the recorder window
#define IDC_METERFRAME          109    // place holder of the level meter, hidden at set-up
#define IDC_VOXSLIDER           110    // voice-activation threshold
#define IDC_VOXLEVEL            113    // threshold read-out
#define IDC_LEVELTEXT           114    // level read-out
#define IDC_METER               116    // level meter; its gauges take 117-119
#define IDC_MESSAGELINE         155    // message line, cleared when recording starts
#define IDC_SEGMENTTEXT         156    // "%d of %d"
#define IDC_TIMETEXT            157    // time at the position, or disk space while recording
#define IDC_POSITIONSLIDER      158    // play/record position, 0-1000
#define IDC_FORMATTEXT          159    // format read-out
#define IDC_SIZETEXT            168    // size and length read-out
#define IDC_CODECTEXT           169    // codec read-out
#define IDC_VOXLABEL            179    // "&Vox "
#define IDC_POSITIONLABEL       180    // "Positio&n"
#define IDC_ANNOTATION          218    // annotation under the position, and directory warnings

// Controls of the progress dialog (its Cancel button is IDCANCEL)
#define IDC_PROGRESSGAUGE       1801
#define IDC_PROGRESSSTATUS      1802

// Transport buttons: the commands they send and their group (CM_RECORD..CM_STOP)
#define CM_RECORD               150
#define CM_PLAY                 151
#define CM_REWIND               152    // back 1 minute; the Rew button repeats it
#define CM_FASTFORWARD          153    // forward 1 minute; the Forw button repeats it
#define CM_STOP                 154
#define CM_RESERVED103          103    // accepted and ignored by the recorder window

// Transport button images: normal, checked and disabled look of each button
#define IDB_PLAY                700
#define IDB_STOP                701
#define IDB_STOP_CHECKED        702
#define IDB_PLAY_CHECKED        703
#define IDB_RECORD_CHECKED      704
#define IDB_RECORD              705
#define IDB_REWIND_CHECKED      706
#define IDB_REWIND              707
#define IDB_FORWARD_CHECKED     708
#define IDB_FORWARD             709
#define IDB_REWIND_DISABLED     712
#define IDB_FORWARD_DISABLED    713
#define IDB_STOP_DISABLED       714
#define IDB_PLAY_DISABLED       718
#define IDB_RECORD_DISABLED     719

// Tool tips of the transport buttons
#define IDS_TIP_RECORD          905
#define IDS_TIP_PLAY            906
#define IDS_TIP_STOP            907
#define IDS_TIP_REWIND          908
#define IDS_TIP_FORWARD         909

// Messages of the recorder window shell
#define IDS_NOJOYSTICK          3010
#define IDS_TIMERERROR_TICK     3041
#define IDS_TIMERERROR_SPIN     3050
#define IDS_CANTOPENFILE        3159

// Edit menu
#define CM_MARKSELECTION        23000
#define CM_COPY                 23001
#define CM_POSITION             23002
#define CM_INSERTANNOTATION     23003
#define CM_ENDANNOTATION        23004
#define CM_DELETEANNOTATION     23005
#define CM_CLEARMARK            23006
#define CM_CUT                  23007
#define CM_PASTEINSERT          23008
#define CM_PASTETOFILE          23009
#define CM_RECORDINSERT         23010
#define CM_RECORDOVERWRITE      23011
#define CM_PASTEFROMFILE        23012

// File menu
#define CM_EXIT                 24310
#define CM_CLOSEWINDOW          24311
#define CM_NEWDEFAULTFILE       24331
#define CM_OPEN                 24332
#define CM_SAVE                 24333
#define CM_SAVEAS               24334
#define CM_CLOSE                24339
#define CM_PROPERTIES           24350
#define CM_NEWWAVEFILE          24351
#define CM_NEWMP3FILE           24352
#define CM_LOGFILE              24353
#define CM_NEWVORBISFILE        24354
#define CM_NEWSPEEXFILE         24355

// Control menu: play toggle, speed, position steps
#define CM_TOGGLEPLAY           25000  // also the frame's system-menu record item
#define CM_PLAYATSPEED          25210
#define CM_SPEEDUP              25212
#define CM_SPEEDDOWN            25213
#define CM_FORWARD1SECOND       25300
#define CM_FORWARD1SEGMENT      25301
#define CM_BACK1SECOND          25302
#define CM_BACK1SEGMENT         25303
#define CM_FORWARD1MINUTE       25304
#define CM_BACK1MINUTE          25305
#define CM_FORWARD1COMMENT      25306
#define CM_BACK1COMMENT         25307
#define CM_PRIVATECLIPBOARD     25800

// Recording source commands (no menu sends them)
#define CM_LINEIN               28000
#define CM_MICROPHONE           28001
#define CM_INPUTSOURCEFIRST     28006
#define CM_INPUTSOURCELAST      28017

// Application commands in the main menu (handled by the application object)
#define CM_HELPCONTENTS         2001
#define CM_ABOUT                2009
#define CM_SAVESETTINGS         18999
#define CM_PLAYMIXER            25001
#define CM_RECORDMIXER          25002
#define CM_VOLUME               25003
#define CM_PREFERENCES          25006
#define CM_ENABLETIMER          25009
#define CM_SOUNDCONTROLPANEL    25015
#define CM_SAVESETTINGSAS       25016
#define CM_OPENSETTINGSFILE     25017
#define CM_NEWINSTANCE          25018
#define CM_PRODUCTWEBPAGE       25996
#define CM_MAKERWEBSITE         25997
#define CM_CHECKFORUPDATE       25998

// Error texts of the settings and the log (string table, resources/AppStrings.rc)
#define IDS_SAVE_LEVEL_FAILED   3501
#define IDS_SAVE_INI_FAILED     3502

// ---------------------------------------------------------------------------
// Recordings: naming, opening, the codec stream, saving, categories
// (resources/files.rc)
// ---------------------------------------------------------------------------
#define IDD_SUBJECT             206    // category dialog
#define IDC_SUBJECTPROMPT       207
#define IDC_SUBJECTCOMBO        208
#define IDC_DELETECATEGORY      209
#define IDS_ACMOPENFAILED       3145
#define IDS_FORMATTAGMISSING    3170
#define IDS_SUGGESTFAILED       3171
#define IDS_STREAMOPENFAILED    3172
#define IDS_PREPAREFAILED       3173
#define IDS_CANTDELETERENAME    3195
#define IDS_CANTDELETETEMP      3220
#define IDS_WANTTOSAVE          3222
#define IDS_SOUNDCHANGED        3223
#define IDS_NOTACATEGORY        3300
#define IDS_DELETECATEGORY      3301
#define IDS_BADCATEGORYNAME     3302
#define IDS_CREATECATEGORY      3303
#define IDS_DELETEPREDEFINED    3304
#define IDS_SAVECOPYFAILED      3196   // the copy of Save As stopped: disk full or unreadable
#define IDS_PASTETOFILEFAILED   3197   // Paste to File could not write its file

// ---------------------------------------------------------------------------
// Capture: buffers, writing captured audio, status read-outs
// (resources/capture.rc)
// ---------------------------------------------------------------------------
#define IDS_CANTWRITECOMPRESSED 3031   // log only
#define IDS_CANTWRITEWAVE       3032   // log only
#define IDS_CANTKEEPUP          3034   // log only: a block could not be converted
#define IDS_CANTREADDWAVEIN     3036   // log only: a buffer could not be lent again
#define IDS_CANTSTOPWAVEIN      3060   // log only
#define IDS_CANTRESETWAVEIN     3061   // log only
#define IDS_CANTCLOSEWAVEIN     3062   // log only
#define IDS_CANTALLOCWAVE       3080
#define IDS_NOWAVEINCAPS        3710
#define IDS_CANTOPENWAVEIN      3711
#define IDS_CANTPREPAREWAVEIN   3712
#define IDS_CANTADDWAVEIN       3713
#define IDS_CANTSTARTWAVEIN     3714
#define IDS_FORMATTOOFAST       3715   // a 200 ms buffer would not fit a ring block

// ---------------------------------------------------------------------------
// Application object and frame window: icons, tray menu, About box, texts
// (resources/app.rc)
// ---------------------------------------------------------------------------
#define IDI_FRAME               1002   // the frame's large icon, also the About box's
#define IDI_FRAMESMALL          1004   // small icon and first tray icon
#define IDI_NOTRECORDING        1005   // small and tray icon while not recording
#define IDI_RECORDING           1006   // small and tray icon while recording
#define SC_TOGGLERECORD         25000  // the frame's system-menu record item
#define IDM_TRAY                26000  // tray pop-up menu; also the tray tooltip text
#define CM_TRAYOPENWINDOW       26001
#define CM_TRAYTOGGLERECORDING  26002
#define CM_TRAYABOUT            26003
#define CM_TRAYEXIT             26004
#define CM_TRAYNEWFILE          26006
#define IDD_ABOUT               22000
#define IDC_ABOUTICON           1002
#define IDC_ABOUTVERSION        22001
#define IDC_ABOUTCOPYRIGHT      22002
#define IDC_ABOUTLINK           22006
#define IDS_OPTIONS             3504   // title of the preferences sheet
#define IDS_STARTRECORDING      3505
#define IDS_STOPRECORDING       3506

// ---------------------------------------------------------------------------
// Transport: stop and position (resources/transport.rc)
// ---------------------------------------------------------------------------
#define IDS_CANTSEEK            3090   // log only: a position could not be set

// ---------------------------------------------------------------------------
// Preferences: the Timer page and its event dialog, the File page, the
// directory picker and the file-name pattern dialog (resources/timerpages.rc)
// ---------------------------------------------------------------------------
#define IDD_TIMERPAGE           2600
#define IDC_TIMERLIST           2601
#define IDC_TIMERDELETE         2602
#define IDC_TIMERNEW            2603
#define IDC_TIMEREDIT           2604
#define IDC_TIMERENABLE         2605
#define IDD_EVENT               400
#define IDC_EVENTDAYLABEL       408
#define IDC_EVENTSTART          411
#define IDC_EVENTSTARTLABEL     412
#define IDC_EVENTSTOP           413
#define IDC_EVENTSTOPLABEL      414
#define IDC_EVENTSUNDAY         415    // the seven day boxes: 415 + day (0 Sunday .. 6 Saturday)
#define IDC_EVENTARCHIVE        422    // hidden, unused
#define IDC_EVENTARCHIVELABEL   423    // hidden, unused
#define IDC_EVENTNEWFILE        425
#define IDC_EVENTNAME           426
#define IDC_EVENTNAMELABEL      428
#define IDD_FILEPAGE            190
#define IDC_FILEUNIT            101    // "MB" / "min"
#define IDC_FILEPROMPT          102    // radio: prompt for a category
#define IDC_FILEPREVIEW         104
#define IDC_FILESTOP            163
#define IDC_FILELIMIT           164
#define IDC_FILEESTIMATE        165
#define IDC_FILELIMITSPIN       167
#define IDC_FILEACTIONGROUP     180
#define IDC_FILELIMITLABEL      181
#define IDC_FILEESTIMATELABEL   183
#define IDC_FILENOACTION        188
#define IDC_FILEAUTONAME        194
#define IDC_FILEDIRLABEL        198
#define IDC_FILEDIR             199
#define IDC_FILEBROWSE          200
#define IDC_FILENEWFILE         222
#define IDC_FILELOOP            227
#define IDC_FILEPATTERNNAMING   4206
#define IDC_FILEEDITPATTERN     25802
#define IDD_PATTERN             4200
#define IDC_PATTERNEDIT         4201
#define IDC_PATTERNLABEL        4202
#define IDC_PATTERNPREVIEW      4203
#define IDC_PATTERNINSERT       4204
#define IDC_PATTERNCODES        4205
#define IDC_PATTERNALWAYS       4207
#define IDC_PATTERNWHENNEEDED   4209
#define IDD_DIRPICK             30600
// Playback (resources/playback.rc)
// ---------------------------------------------------------------------------
#define IDS_WAVEOUTBUSY         3000
#define IDS_CANTPREPAREWAVEOUT  3020   // log only
#define IDS_CANTOPENWAVEOUT     3071
#define IDS_CANTPLAYFILE        3079   // nothing of the file's audio could be read for playing
#define IDS_RECORDINGSAVEDNOPLAY 3078  // Play stopped a recording whose saved file cannot be opened again
// Preference pages: General, HotKey, Vox, PlayBack, Record, Driver, Switches
// (resources/pages.rc). The Driver and Switches templates are named, not
// numbered: "Driver" and "Switches".
// ---------------------------------------------------------------------------
#define IDD_SETSTART            270    // "General"
#define IDC_MINIMIZEATBOOT      300
#define IDC_LISTENATSTART       302
#define IDC_LAUNCHATBOOT        305
#define IDC_ALWAYSONTOP         217
#define IDC_TRAYICONBOX         219
#define IDC_DESKTOPICON         2321
#define IDC_QUICKLAUNCHICON     2322

#define IDD_SETKEY              900    // "HotKey"
#define IDC_KEYPLAY             901
#define IDC_KEYPLAYLABEL        902
#define IDC_KEYRECORD           903
#define IDC_KEYRECORDLABEL      904
#define IDC_KEYACTIVATE         905
#define IDC_KEYACTIVATELABEL    906

#define IDD_SETVOX              2400   // "Vox"
#define IDC_VOXHIDE             2401
#define IDC_VOXDISABLE          2402
#define IDC_TALKOFF2            2403   // seconds of silence, up-down 2405
#define IDC_TALKOFF2LABEL       2404
#define IDC_TALKOFF2SPIN        2405
#define IDC_PRETRIGGER          2406   // seconds, up-down 2409
#define IDC_PRETRIGGERLABEL     2407
#define IDC_PRETRIGGERNOTE      2408
#define IDC_PRETRIGGERSPIN      2409
#define IDC_VOXDISCARD          2410
#define IDC_DISCARDTIME         2411   // tenths as text, up-down 2413
#define IDC_DISCARDLABEL        2412
#define IDC_DISCARDSPIN         2413
#define IDC_VOXFILTER           2414
#define IDC_FILTERTIME          2415   // tenths as text, up-down 2417
#define IDC_FILTERLABEL         2416
#define IDC_FILTERSPIN          2417

#define IDD_SETPLAYBACK         210    // "PlayBack"
#define IDC_SOUNDBYTE           211
#define IDC_SOUNDBYTELABEL      212
#define IDC_SOUNDBYTEUNIT       213

#define IDD_SETRECORD           273    // "Record"
#define IDC_RECORDMODES         189
#define IDC_MODEECHO            191
#define IDC_MODEMANUAL          201
#define IDC_MODEQUIET           202
#define IDC_TALKOFF             203
#define IDC_TALKOFFUNIT         205
#define IDC_MODESTARTS          231
#define IDC_MODESTOPS           232

#define IDC_WAVEOUTLIST         1601   // template "Driver"
#define IDC_WAVEINLIST          1602
#define IDC_WAVEOUTLABEL        1603
#define IDC_WAVEINLABEL         1604

#define IDC_JOYENABLE           501    // template "Switches"
#define IDC_JOYBUTTON1          502
#define IDC_JOYLABEL2           503
#define IDC_JOYBUTTON2          504
#define IDC_JOYLABEL3           505
#define IDC_JOYBUTTON3          506
#define IDC_JOYLABEL4           507
#define IDC_JOYBUTTON4          508
#define IDC_JOYLABEL1           509
// Annotations, the properties report and the position dialog
// (resources/annotations.rc)
// ---------------------------------------------------------------------------
#define IDD_POSITION            1700   // "Set Time Position"
#define IDC_POSNOTE             1710   // the recorded time, or the gap note
#define IDC_POSDAY              1712
#define IDC_POSDAYSPIN          1713
#define IDC_POSHOUR             1714
#define IDC_POSHOURSPIN         1715
#define IDC_POSMINUTE           1716
#define IDC_POSMINUTESPIN       1717
#define IDC_POSSECONDSPIN       1718
#define IDC_POSSECOND           1719
#define IDC_POSSEGMENT          1720
#define IDC_POSSEGMENTSPIN      1721
#define IDC_POSSLIDER           1722
#define IDC_POSADJUST           1723
#define IDC_POSSECONDLABEL      1724
#define IDC_POSDAYLABEL         1725
#define IDC_POSSEGMENTLABEL     1726
#define IDC_POSMINUTELABEL      1727
#define IDC_POSHOURLABEL        1728

// ---------------------------------------------------------------------------
// Preference pages of the recording formats: Wave, Mp3, Vorbis, Speex
// (resources/formatpages.rc)
// ---------------------------------------------------------------------------
#define IDS_RATEOUTOFBOUNDS     3400   // a format page's sample rate is refused

#define IDD_SETWAVE             271    // "Wave"
#define IDC_WAVEBYTERATE        161    // read-out of the data rate
#define IDC_WAVE8BIT            171
#define IDC_WAVE16BIT           172
#define IDC_WAVERESGROUP        173
#define IDC_WAVEBYTERATELABEL   185
#define IDC_WAVERATE            186    // combo with edit: samples per second
#define IDC_WAVERATELABEL       187
#define IDC_WAVEFORMATS         220    // the codec formats
#define IDC_WAVEFORMATLABEL     221
#define IDC_WAVECHANGROUP       223
#define IDC_WAVEMONO            224
#define IDC_WAVESTEREO          225
#define IDC_WAVEDEFAULT         813

#define IDD_SETMP3              3700   // "Mp3"
#define IDC_MP3CHANGROUP        3704
#define IDC_MP3MONO             3705
#define IDC_MP3STEREO           3706
#define IDC_MP3RATELABEL        3707
#define IDC_MP3RATE             3708
#define IDC_MP3BYTERATELABEL    3709
#define IDC_MP3BYTERATE         3710
#define IDC_MP3FORMATLABEL      3711
#define IDC_MP3FORMATS          3712
#define IDC_MP3DEFAULT          3713
#define IDC_MP3TAGS             3714

#define IDD_SETVORBIS           3860   // "Vorbis"
#define IDC_VORMONO             3862
#define IDC_VORSTEREO           3863
#define IDC_VORRATE             3865
#define IDC_VORREADOUT          3867
#define IDC_VORDEFAULT          3870
#define IDC_VORQUALITY          3871   // track bar: quality + 1
#define IDC_VORQUALITYTEXT      3875

#define IDD_SETSPEEX            3660   // "Speex"
#define IDC_SPXMONO             3662
#define IDC_SPXSTEREO           3663
#define IDC_SPXRATE             3665
#define IDC_SPXREADOUT          3667
#define IDC_SPXDEFAULT          3670
#define IDC_SPXQUALITY          3671   // track bar: quality
#define IDC_SPXQUALITYTEXT      3675
