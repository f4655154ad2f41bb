/*
 * A program built against an installed txtppt2, as a user would write it:
 * it prints a presentation's text in Windows-1252, or the library's error.
 *
 * usage: consumer PRESENTATION
 */
#include <stdio.h>
#include <stdlib.h>
#include <txtppt2.h>

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s PRESENTATION\n", argv[0]);
    return 2;
  }
  uint32_t count = 0;
  char* text = ConvertToPureText(argv[1], &count);
  if (text == NULL) {
    char message[256];
    GetConversionError(message, (int32_t)sizeof message);
    fprintf(stderr, "%s: %s (code %u)\n", argv[1], message,
            (unsigned)GetErrorCode());
    return 1;
  }
  fwrite(text, 1, count, stdout);
  free(text);
  return 0;
}
