// Umbrella of the platform's test seams; each seam has its own header in this folder.
#pragma once
#include <seams/dialog_watch.h>
#include <seams/file_dialog.h>
#include <seams/language.h>
#include <seams/local_time.h>
#include <seams/message_box.h>
#include <seams/program_path.h>
#include <seams/registry_file.h>
#include <seams/screen_size.h>
#include <seams/serial_ports.h>
#include <seams/sound_shell.h>
