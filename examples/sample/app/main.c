/* A console program without the C runtime: it starts at app_start, prints one line through
   kernel32 and exits with status 0 when the library computed what it should. */
#include "calc.h"
#include "console.h"
#include "greet.h"

struct line {
    char text[128];
    int length;
};

static void append_text(struct line* line, const char* text, int length) {
    for (int i = 0; i < length && line->length < (int)sizeof line->text; ++i)
        line->text[line->length++] = text[i];
}

static void append_string(struct line* line, const char* text) {
    int length = 0;
    while (text[length] != '\0')
        ++length;
    append_text(line, text, length);
}

static void append_number(struct line* line, int value) {
    line->length +=
        calc_format(line->text + line->length, (int)sizeof line->text - line->length, value);
}

void app_start(void) {
    static const int values[] = {1, 2, 3, 4, 5};
    int sum = calc_sum(values, (int)(sizeof values / sizeof values[0]));
    int scaled = calc_scale(sum);

    struct line line;
    line.length = 0;
    append_string(&line, "sum=");
    append_number(&line, sum);
    append_string(&line, " scaled=");
    append_number(&line, scaled);
    append_string(&line, " greeting=");
    append_text(&line, greet_message(), greet_length());
    append_string(&line, "\n");

    unsigned long written = 0;
    int ok = WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.text, (unsigned long)line.length,
                       &written, 0);
    ExitProcess(ok && written == (unsigned long)line.length && sum == 15 && scaled == 30 ? 0 : 1);
}
