/* Waits for a visible top-level window with the given title, prints its
   client size and asks it to close the way its close button does (WM_CLOSE).
   Exit code 0 when the window was found and asked, 2 when it never showed. */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

int main (int argc, char** argv)
{
    if (argc < 3)
    {
        fprintf (stderr, "usage: close_main_window <title> <timeout ms>\n");
        return 1;
    }

    const DWORD timeoutMs = (DWORD) strtoul (argv[2], NULL, 10);
    const DWORD start = GetTickCount();
    HWND window = NULL;

    while ((window = FindWindowA (NULL, argv[1])) == NULL || ! IsWindowVisible (window))
    {
        if (GetTickCount() - start > timeoutMs)
        {
            fprintf (stderr, "no visible window titled \"%s\" within %lu ms\n", argv[1], (unsigned long) timeoutMs);
            return 2;
        }

        Sleep (100);
    }

    /* Let the app finish its first paint before it is asked to go. */
    Sleep (1000);

    RECT client;
    GetClientRect (window, &client);
    printf ("client size %ld x %ld\n", (long) (client.right - client.left), (long) (client.bottom - client.top));
    fflush (stdout);

    PostMessageA (window, WM_CLOSE, 0, 0);
    return 0;
}
