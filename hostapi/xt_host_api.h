/* The contract between the layout program and the MarlixXT40 plug-in.
 *
 * The layout program (layouthost) loads the plug-in with dlopen and calls its one export,
 * xtactivate_cb, with an activation block.  The plug-in registers itself, installs its main
 * callback, and on the first call of that callback receives the host's callback table, through
 * which it binds the host's function tables one by one (a four-byte table id and the list of
 * function numbers it uses).  From then on the host drives the plug-in through callbacks
 * identified by opcode.  Both sides include this header; it is plain C so that neither side
 * depends on the other's C++ types.
 *
 * Conventions: numbers in 16.16 fixed point (0x10000 = 1.0); rectangles top, left, bottom, right;
 * text in Windows-1252 bytes; a box reference 0 means "none" (or "the current box" where said);
 * handles are movable blocks owned by whoever obtained them and given back through the memory
 * table. */
#ifndef XT_HOST_XT_HOST_API_H
#define XT_HOST_XT_HOST_API_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t XtFixed;
typedef int32_t XtErr; /* 0 no error, else a host error code */
typedef int32_t XtBox; /* 0: none, or the current box where a call says so */
typedef struct XtHandleBlock* XtHandle;

typedef struct XtFixedRect {
  XtFixed top, left, bottom, right;
} XtFixedRect;

typedef struct XtShortRect {
  int16_t top, left, bottom, right;
} XtShortRect;

typedef struct XtRgb {
  uint16_t red, green, blue;
} XtRgb;

#define XT_FOURCC(a, b, c, d)                                        \
  (((uint32_t)(uint8_t)(a) << 24) | ((uint32_t)(uint8_t)(b) << 16) | \
   ((uint32_t)(uint8_t)(c) << 8) | (uint32_t)(uint8_t)(d))

/* ---- Activation ------------------------------------------------------------------------- */

#define XT_IDENTIFIER 0x32564642
#define XT_REGISTER_A 255
#define XT_REGISTER_B 11
#define XT_VERSION 0x402a000e
#define XT_FURTHER_VALUE 200
#define XT_INSTALL_A 5
#define XT_INSTALL_B 200
#define XT_INSTALL_C 0

#define XT_CALLBACK_TABLE_COUNT 11
#define XT_CALLBACK_TABLE_KIND 161
#define XT_CALLBACK_TABLE_VERSION 0x402a0000
#define XT_FUNCTION_LIST_HEADER 0x46470000u

#define XT_ERR_ACTIVATION 0x51000401     /* registration or binding refused */
#define XT_ERR_CALLBACK_TABLE 0x5100040F /* callback table of the wrong shape */

/* A callback: opcode and its parameter block (one of the XtXxxParams below, or NULL). */
typedef XtErr (*XtCallbackProc)(int32_t opcode, void* params);

typedef struct XtActivateBlock {
  void* host; /* passed back as the first argument of each call */
  /* Registers the plug-in; nonzero means accepted. Called with the XT_ constants above. */
  int32_t (*register_xtension)(void* host, int32_t identifier, int32_t a, int32_t b,
                               int32_t version, int32_t zero);
  /* The further operation of the block, called with XT_FURTHER_VALUE. */
  void (*set_value)(void* host, int32_t value);
  /* Installs the main callback (XT_INSTALL_A, XT_INSTALL_B, XT_INSTALL_C). */
  XtErr (*install_main_callback)(void* host, XtCallbackProc proc, int32_t a, int32_t b, int32_t c);
} XtActivateBlock;

/* The plug-in's export. Returns 0, or XT_ERR_ACTIVATION when registration is refused. */
typedef XtErr (*XtActivateProc)(XtActivateBlock* block);
#define XT_ACTIVATE_SYMBOL "xtactivate_cb"

/* The list of function numbers a binding asks for. */
typedef struct XtFunctionList {
  uint32_t header; /* XT_FUNCTION_LIST_HEADER */
  int32_t count;
  const int32_t* numbers; /* 1-based numbers of the table's functions, in the table's order */
} XtFunctionList;

/* Entry 0 of the callback table: copies the host table `table_id` into `table_out` (a struct
 * below of `table_size` bytes) if every function of `wanted` is offered; else XT_ERR_ACTIVATION. */
typedef XtErr (*XtBindTableProc)(uint32_t table_id, const XtFunctionList* wanted, void* table_out,
                                 size_t table_size);
/* Entry 1: installs a callback for an opcode (arguments XT_INSTALL_A, _B, _C). */
typedef XtErr (*XtInstallCallbackProc)(int32_t opcode, XtCallbackProc proc, int32_t a, int32_t b,
                                       int32_t c);

/* Handed to the main callback on its first call (opcode XT_OP_START). */
typedef struct XtCallbackTable {
  int32_t count;                          /* XT_CALLBACK_TABLE_COUNT */
  int32_t kind;                           /* XT_CALLBACK_TABLE_KIND */
  int32_t version;                        /* XT_CALLBACK_TABLE_VERSION */
  void* entries[XT_CALLBACK_TABLE_COUNT]; /* 0 XtBindTableProc, 1 XtInstallCallbackProc, rest 0 */
} XtCallbackTable;

/* ---- Callback opcodes ------------------------------------------------------------------- */

#define XT_OP_START 0         /* main callback, params: XtCallbackTable* */
#define XT_OP_UNLOAD 4        /* params: NULL */
#define XT_OP_MENU_BUILD 7    /* params: XtMenuBuildParams* */
#define XT_OP_MENU_UPDATE 8   /* params: NULL */
#define XT_OP_MENU_COMMAND 9  /* params: XtMenuCommandParams* */
#define XT_OP_FILTER_BEGIN 19 /* params: XtFilterBeginParams* */
#define XT_OP_FILTER_RUN 20   /* params: XtTextRun* */
#define XT_OP_FILTER_END 21   /* params: XtFilterEndParams* */
#define XT_OP_JOB 100         /* stand-in for the export palette; params: XtJobParams* */

typedef struct XtMenuBuildParams {
  int32_t first_menu;  /* receives "Open Marlix Exp&ort" and "Launch Marlix Index" */
  int32_t second_menu; /* receives "Marlix XT ..." */
} XtMenuBuildParams;

typedef struct XtMenuCommandParams {
  int32_t item; /* the number add_item gave */
} XtMenuCommandParams;

typedef struct XtFilterBeginParams {
  uint32_t file_type; /* 'HTML' */
} XtFilterBeginParams;

typedef struct XtFilterEndParams {
  uint32_t file_type;
} XtFilterEndParams;

#define XT_TAB_LEFT 0
#define XT_TAB_CENTER 1
#define XT_TAB_RIGHT 2
#define XT_TAB_DECIMAL 3

typedef struct XtTabStop {
  XtFixed position;
  int16_t alignment; /* XT_TAB_ */
} XtTabStop;

/* Style word bits. */
#define XT_STYLE_BOLD 0x0001
#define XT_STYLE_ITALIC 0x0002
#define XT_STYLE_UNDERLINE 0x0004
#define XT_STYLE_WORD_UNDERLINE 0x1000

/* Mark words of link runs. */
#define XT_MARK_LINK_START 0x42465640u /* 'BFV@' */
#define XT_MARK_LINK_DATA 128u
#define XT_MARK_LINK_END 0x42465620u /* 'BFV ' */

/* One run of the text export: characters with the same attributes, never spanning a paragraph
 * end (a run holds at most one character 13, as its last byte) and never empty, except the
 * empty runs a filter may be sent by the host at a story's end. */
typedef struct XtTextRun {
  uint32_t file_type;
  int16_t font_id;
  uint16_t style; /* XT_STYLE_ bits */
  XtFixed size;   /* points */
  int16_t color_index;
  uint32_t mark;       /* 0, or an XT_MARK_ word */
  XtFixed left_indent; /* of the run's paragraph */
  int16_t drop_cap;    /* nonzero: the paragraph starts with a drop cap */
  int16_t tab_index;   /* index of the tab stop reached by the run's first byte when it is a tab */
  const uint8_t* bytes;
  int32_t count;
} XtTextRun;

/* The output writer the host's write call hands text to. */
typedef XtErr (*XtWriterProc)(void* context, const char* bytes, int32_t count);

/* Job fields and operation for XT_OP_JOB, the stand-in for the export palette's buttons. */
#define XT_JOB_EXPORT 0
#define XT_JOB_APPEND 1
#define XT_JOB_PREVIEW 2

typedef struct XtJobField {
  const char* name;  /* "Path", "Issue", "Category", "FileName", "Headline", "SubHeadline",
                        "HeaderFile", "FooterFile" */
  const char* value; /* Windows-1252 */
} XtJobField;

typedef struct XtJobParams {
  int32_t operation; /* XT_JOB_ */
  int32_t field_count;
  const XtJobField* fields;
  int32_t result; /* out: the job's result, 0 success, 1 partial, -1 refused or failed */
  /* in: nonzero keeps an Export from showing its page, whatever OpenBrowser says (a Preview
   * always shows it) */
  int32_t no_browser;
  /* out: the page the job wrote or showed (Windows-1252), NULL when none; valid until the next
   * call into the plug-in */
  const char* page_path;
  /* out: what the job could not find or use, one line each (Windows-1252), NULL when nothing;
   * valid until the next call into the plug-in */
  const char* warnings;
  /* out: nonzero when the page was to be shown and the browser could not show it */
  int32_t browser_failed;
} XtJobParams;

/* ---- Host tables ------------------------------------------------------------------------ */

#define XT_TABLE_MEMORY XT_FOURCC('M', 'E', 'M', 'O')
typedef struct XtMemoryTable {
  XtHandle (*new_handle)(int32_t size); /* zero-filled; NULL when out of memory */
  void (*dispose_handle)(XtHandle handle);
  int32_t (*handle_size)(XtHandle handle);
  XtErr (*set_handle_size)(XtHandle handle, int32_t size); /* keeps the leading bytes */
  uint8_t* (*handle_data)(XtHandle handle);
} XtMemoryTable;

/* Record keys: 'BFV' and a final byte 0 (picture record) or 1 (export record). */
#define XT_RECORD_PICTURE XT_FOURCC('B', 'F', 'V', 0)
#define XT_RECORD_EXPORT XT_FOURCC('B', 'F', 'V', 1)

#define XT_TABLE_RECORDS XT_FOURCC('R', 'E', 'C', 'D')
typedef struct XtRecordTable {
  /* A copy of the record under `key` of `box` (0: the current box), or NULL; `one` is 1. */
  XtHandle (*get_record)(XtBox box, int32_t one, uint32_t key);
  /* Stores a copy of `record` under `key` with `box` (0: the current box). */
  XtErr (*attach_record)(XtBox box, int32_t one, uint32_t key, XtHandle record);
} XtRecordTable;

#define XT_TABLE_GEOMETRY XT_FOURCC('G', 'E', 'O', 'M')
typedef struct XtGeometryTable {
  XtErr (*box_bounds)(XtBox box, XtFixedRect* bounds);
  void (*scale_rect)(XtFixedRect* rect, XtFixed factor); /* about the top left corner */
  void (*rect_to_pixels)(const XtFixedRect* rect, XtShortRect* pixels); /* 72 pixels per inch */
  XtFixed (*fixed_divide)(XtFixed a, XtFixed b);
  XtFixed (*fixed_multiply)(XtFixed a, XtFixed b);
} XtGeometryTable;

#define XT_RENDER_A 5
#define XT_RENDER_B 5208

#define XT_TABLE_PICTURE XT_FOURCC('P', 'I', 'C', 'T')
typedef struct XtPictureTable {
  /* A 24-bit bottom-up blue-green-red packed bitmap (40-byte header, rows padded to 4 bytes)
   * of the box drawn at `scale` (0: its own size) into `pixels`; NULL when it cannot. */
  XtHandle (*render_box)(XtBox box, const XtFixedRect* bounds, XtFixed scale,
                         const XtShortRect* pixels, int32_t a, int32_t b, int32_t c, int32_t d);
  /* The file name (no folder) of the picture imported into the box; 0 and an empty string
   * when it has none. Returns the name's length. */
  int32_t (*imported_file_name)(XtBox box, char* name, int32_t capacity);
} XtPictureTable;

#define XT_BOX_OTHER 0
#define XT_BOX_TEXT 1
#define XT_BOX_PICTURE 2
#define XT_BOX_GROUP 3

typedef struct XtBoxInfo {
  int32_t kind;       /* XT_BOX_ */
  int32_t page;       /* index of the page that holds the box */
  int16_t background; /* colour index, 0 none */
  int16_t columns;
  XtFixed gutter;
  XtFixedRect bounds;
} XtBoxInfo;

#define XT_TABLE_ITEMS XT_FOURCC('I', 'T', 'E', 'M')
typedef struct XtItemTable {
  int32_t (*has_document)(void);
  XtBox (*current_box)(void);
  void (*set_current_box)(XtBox box);
  XtErr (*box_info)(XtBox box, XtBoxInfo* info); /* nonzero when the host knows no such box */
  int32_t (*is_group)(XtBox box);
  int32_t (*is_text_box)(XtBox box);
  int32_t (*is_picture_box)(XtBox box);
  int32_t (*group_member_count)(XtBox group);
  XtBox (*group_member)(XtBox group, int32_t index); /* in the host's member order */
  XtBox (*first_box_of_page)(int32_t page);
  XtBox (*next_box)(XtBox box); /* on the same page, in the host's order; 0 at the end */
  void (*select_boxes)(const XtBox* boxes, int32_t count);
  int32_t (*save_redraw)(void);
  void (*restore_redraw)(int32_t state);
  XtErr (*ungroup)(XtBox group);
} XtItemTable;

typedef struct XtTextRange {
  int32_t story;  /* the story the box shows */
  int32_t start;  /* first character of the story in this box */
  int32_t end;    /* one past the last */
  int32_t length; /* of the whole story */
} XtTextRange;

typedef struct XtFilterInfo {
  uint32_t kind;      /* 'ttxt' */
  uint32_t file_type; /* 'HTML' */
  char name[64];
  uint32_t flags;
  int32_t id;
} XtFilterInfo;

#define XT_FILTER_KIND_TEXT XT_FOURCC('t', 't', 'x', 't')
#define XT_FILE_TYPE_HTML XT_FOURCC('H', 'T', 'M', 'L')
#define XT_FILTER_FLAGS 0x18000000u

#define XT_TABLE_TEXT XT_FOURCC('T', 'E', 'X', 'T')
typedef struct XtTextTable {
  XtErr (*box_text)(XtBox box, XtTextRange* range);
  int32_t (*continues_chain)(XtBox box); /* nonzero: the box's text begins in an earlier box */
  /* The selection of the current box's story: character range [start, end). */
  XtErr (*get_selection)(int32_t* start, int32_t* end);
  XtErr (*set_selection)(int32_t start, int32_t end);
  /* Copies up to `capacity` bytes of the current box's story [start, end); returns the count. */
  int32_t (*story_bytes)(int32_t start, int32_t end, char* out, int32_t capacity);
  int32_t (*register_filter)(uint32_t kind, uint32_t file_type, const char* name, uint32_t flags);
  int32_t (*filter_count)(void);
  XtErr (*filter_info)(int32_t index, XtFilterInfo* info);
  /* Runs the text export of the current box through the filter `id`: the selection when
   * `selection_only` is nonzero, else the box's whole story; the host calls the filter's
   * begin, run and end callbacks. */
  XtErr (*run_text_export)(int32_t filter_id, int32_t selection_only);
  XtErr (*write)(const char* bytes, int32_t count); /* to the installed writer */
  /* Installs a writer, giving back the one it replaces. */
  void (*replace_writer)(XtWriterProc writer, void* context, XtWriterProc* old_writer,
                         void** old_context);
  int32_t (*font_name)(int16_t font_id, char* name, int32_t capacity); /* returns the length */
  XtErr (*color_rgb)(int16_t color_index, XtRgb* rgb);
  /* The tab stops of the paragraph of the run being exported; returns their count. */
  int32_t (*tab_stops)(XtTabStop* stops, int32_t capacity);
} XtTextTable;

#define XT_TABLE_MENUS XT_FOURCC('M', 'E', 'N', 'U')
typedef struct XtMenuTable {
  int32_t (*add_item)(int32_t menu, const char* text); /* returns the item number */
  void (*enable_item)(int32_t item, int32_t enabled);
  void (*set_item_text)(int32_t item, const char* text);
  void (*remove_item)(int32_t item);
} XtMenuTable;

#define XT_ANSWER_NO 0
#define XT_ANSWER_YES 1

/* Sent to the document window after the plug-in changed boxes or their records: redraw. */
#define XT_MESSAGE_REFRESH 2026

#define XT_TABLE_WINDOWS XT_FOURCC('W', 'I', 'N', 'D')
typedef struct XtWindowTable {
  /* The front document window, only ever handed back as a parent. When the host runs as a Qt
   * Widgets application it is that window's QWidget; otherwise an opaque value or NULL. */
  void* (*front_window)(void);
  /* A message box: `yes_no` nonzero asks a question and returns XT_ANSWER_; else returns 0. */
  int32_t (*message_box)(const char* text, int32_t yes_no);
  /* Asks for a line of text; `value` holds the proposal on entry. Returns 0 when cancelled. */
  int32_t (*ask_text)(const char* prompt, char* value, int32_t capacity);
  /* Sends `message` (XT_MESSAGE_) to `window` (a front_window value). */
  void (*send_message)(void* window, int32_t message);
} XtWindowTable;

#define XT_TABLE_CALLBACKS XT_FOURCC('C', 'A', 'L', 'L')

#ifdef __cplusplus
}
#endif

#endif /* XT_HOST_XT_HOST_API_H */
