// Umbrella of the platform's test seams; each seam has its own header in this folder.
#pragma once
#include <testing/dialog_watch.h>
#include <testing/file_dialog.h>
#include <testing/language.h>
#include <testing/local_time.h>
#include <testing/message_box.h>
#include <testing/program_path.h>
#include <testing/registry_file.h>
#include <testing/screen_size.h>
#include <testing/serial_ports.h>
#include <testing/sound_shell.h>
