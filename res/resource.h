/* Resource identifiers shared by tavrik.rc and the C++ sources. */
#ifndef TAVRIK_RES_RESOURCE_H
#define TAVRIK_RES_RESOURCE_H

/* Icons and the option dialog are named resources: */
#define TAVRIK_ICON_APP "MYICON" /* application icon */
#define TAVRIK_ICON_SYS "MYSYS"  /* icon for system entries (Japanese, 32x32, 16 colours) */
#define TAVRIK_DLG_OPTION "OPTION"

/* Numbered resources. */
#define IDR_MANIFEST 1  /* RT_MANIFEST: CREATEPROCESS_MANIFEST_RESOURCE_ID */
#define IDR_VERSION 1   /* RT_VERSION */

/* Version of the program, as shown in the version resource. */
#define TAVRIK_VERSION_MAJOR 1
#define TAVRIK_VERSION_MINOR 34
#define TAVRIK_VERSION_STR "1.34"

#endif
