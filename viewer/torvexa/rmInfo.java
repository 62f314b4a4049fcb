/**
 * The viewer's own texts: its name, its maker, the parameters it understands and
 * the short notes it shows a visitor instead of a picture. Kept in one place so a
 * distributor can change them without touching the panels.
 */
public final class rmInfo {
  public static final String PRODUCT_NAME = "Torvexa";
  public static final String VERSION = "1.0";
  public static final String MAKER = "the Quorvale authors";
  public static final String CREDIT = "Torvexa viewer by the Quorvale authors";
  public static final String PRODUCT_PAGE = "https://quorvale.example/torvexa/";

  public static final String NO_INDEX = "This album's picture list could not be read.";
  public static final String EMPTY_ALBUM = "This album holds no pictures.";
  public static final String PICTURE_NOT_LOADED = "This picture could not be loaded:";
  public static final String LIMIT_NOTE = "Only the first 100 pictures of this album are shown.";

  public static final String SIZE_HEADING = "SIZE";
  public static final String SHRINK = "Shrink";
  public static final String STRETCH = "Stretch";
  public static final String ZOOM_HEADING = "VIEW AREA ZOOM";

  private rmInfo() {}

  /** The text a browser shows for "about this applet". */
  public static String appletInfo() {
    return PRODUCT_NAME + " " + VERSION + " - photo album viewer. " + CREDIT + ". " + PRODUCT_PAGE;
  }

  /** Name, kind and meaning of each parameter an album page passes. */
  public static String[][] parameterInfo() {
    return new String[][] {
      {"index_file", "URL", "the album's picture list, relative to the code base"},
      {"image_base", "URL", "the folder of the album's pictures, relative to the code base"},
      {"frame_bg_color", "RRGGBB", "background colour of the viewer's frame"},
      {"text_prompt_color", "RRGGBB", "colour of the viewer's texts"},
    };
  }

  /** "Picture 3 of 12", the banner's position line. */
  public static String position(int current, int count) {
    return "Picture " + (current + 1) + " of " + count;
  }
}
